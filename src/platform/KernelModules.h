#pragma once

#include <QString>

// Reloads the kernel's parallel port drivers (parport_pc, ppdev): the repair of a port that does not
// open. Needs root.
class KernelModules {
public:
    virtual ~KernelModules() = default;
    // An empty text on success, else what went wrong.
    virtual QString reloadParallelPortModules() = 0;
};

// Through modprobe: "modprobe -r ppdev parport_pc", then "modprobe parport_pc ppdev".
class ModprobeKernelModules : public KernelModules {
public:
    QString reloadParallelPortModules() override;
};
