#include "hardware/DirectIoPortBackend.h"

#include "platform/DirectPortIo.h"

int DirectIoPortBackend::open() {
    return DirectPortIo::checkAccess();
}

void DirectIoPortBackend::close() {
    // The permissions granted stay with the process; the port is simply no longer used.
    m_granted.clear();
}

int DirectIoPortBackend::grant(quint16 address) {
    if (m_granted.contains(address))
        return 0;
    const int error = DirectPortIo::grant(address);
    if (error == 0)
        m_granted.insert(address);
    return error;
}

int DirectIoPortBackend::read(quint16 address, quint8& value) {
    if (const int error = grant(address))
        return error;
    value = DirectPortIo::in(address);
    return 0;
}

int DirectIoPortBackend::write(quint16 address, quint8 value) {
    if (const int error = grant(address))
        return error;
    DirectPortIo::out(address, value);
    return 0;
}
