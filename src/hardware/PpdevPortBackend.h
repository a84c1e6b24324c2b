#pragma once

#include "hardware/PortBackend.h"
#include "platform/PpdevDevice.h"

#include <memory>
#include <vector>

// The port through the kernel's ppdev driver. Opening claims every parallel port the kernel lists;
// an access goes to the port whose base is the address (data register) or the address − 1 (status
// register).
class PpdevPortBackend : public PortBackend {
public:
    explicit PpdevPortBackend(QString procRoot = PpdevDevice::defaultProcRoot(),
                              QString devRoot = PpdevDevice::defaultDevRoot());
    ~PpdevPortBackend() override;

    // ENODEV when the kernel lists no parallel port; else the error of the first port that could not
    // be claimed, unless another one could.
    int open() override;
    void close() override;
    int read(quint16 address, quint8& value) override;
    int write(quint16 address, quint8 value) override;
    QString name() const override { return QStringLiteral("ppdev"); }

private:
    struct ClaimedPort {
        quint64 base = 0;
        std::unique_ptr<PpdevDevice> device;
    };
    // The claimed port and whether the address is its status register; null when none matches.
    const PpdevDevice* deviceFor(quint16 address, bool& status) const;

    QString m_procRoot;
    QString m_devRoot;
    std::vector<ClaimedPort> m_ports;
};
