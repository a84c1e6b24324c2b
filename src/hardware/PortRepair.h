#pragma once

#include <QString>

class KernelModules;
class TSmallPort;

// The automatic repair of the parallel port: reload the kernel's parallel port drivers. The port is
// closed meanwhile (an open port keeps the drivers in use) and opened again afterwards if it was open.
class PortRepair {
public:
    struct Result {
        bool ok = true;
        QString message; // for the operator when it failed
    };

    PortRepair(KernelModules& modules, TSmallPort* port) : m_modules(modules), m_port(port) {}

    Result run();

private:
    KernelModules& m_modules;
    TSmallPort* m_port;
};
