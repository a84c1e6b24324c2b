#include "hardware/PpdevPortBackend.h"

#include <cerrno>

PpdevPortBackend::PpdevPortBackend(QString procRoot, QString devRoot)
    : m_procRoot(std::move(procRoot)), m_devRoot(std::move(devRoot)) {}

PpdevPortBackend::~PpdevPortBackend() {
    close();
}

int PpdevPortBackend::open() {
    close();
    const QList<PpdevDevice::Port> ports = PpdevDevice::listPorts(m_procRoot, m_devRoot);
    if (ports.isEmpty())
        return ENODEV;
    int firstError = 0;
    for (const PpdevDevice::Port& port : ports) {
        auto device = std::make_unique<PpdevDevice>();
        const int error = device->open(port.devicePath);
        if (error != 0) {
            if (firstError == 0)
                firstError = error;
            continue;
        }
        m_ports.push_back({port.base, std::move(device)});
    }
    return m_ports.empty() ? firstError : 0;
}

void PpdevPortBackend::close() {
    m_ports.clear();
}

const PpdevDevice* PpdevPortBackend::deviceFor(quint16 address, bool& status) const {
    for (const ClaimedPort& port : m_ports) {
        if (port.base == address || port.base + 1 == address) {
            status = port.base + 1 == address;
            return port.device.get();
        }
    }
    return nullptr;
}

int PpdevPortBackend::read(quint16 address, quint8& value) {
    bool status = false;
    const PpdevDevice* device = deviceFor(address, status);
    if (!device)
        return ENXIO;
    return status ? device->readStatus(value) : device->readData(value);
}

int PpdevPortBackend::write(quint16 address, quint8 value) {
    bool status = false;
    const PpdevDevice* device = deviceFor(address, status);
    if (!device)
        return ENXIO;
    // The status register is read-only.
    return status ? EINVAL : device->writeData(value);
}
