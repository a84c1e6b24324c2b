#include "platform/DirectPortIo.h"

#include <cerrno>

#if defined(__x86_64__) || defined(__i386__)
#include <sys/io.h>
#define TARVOLIN_HAS_PORT_IO 1
#else
#define TARVOLIN_HAS_PORT_IO 0
#endif

namespace {
// Port 0x80 is the POST diagnostic port: asking for it tests the privilege without touching a device.
constexpr unsigned long ProbePort = 0x80;
} // namespace

bool DirectPortIo::supported() {
    return TARVOLIN_HAS_PORT_IO != 0;
}

int DirectPortIo::checkAccess() {
#if TARVOLIN_HAS_PORT_IO
    if (::ioperm(ProbePort, 1, 1) != 0)
        return errno;
    ::ioperm(ProbePort, 1, 0);
    return 0;
#else
    return ENOSYS;
#endif
}

int DirectPortIo::grant(quint16 address) {
#if TARVOLIN_HAS_PORT_IO
    return ::ioperm(address, 1, 1) == 0 ? 0 : errno;
#else
    Q_UNUSED(address);
    return ENOSYS;
#endif
}

quint8 DirectPortIo::in(quint16 address) {
#if TARVOLIN_HAS_PORT_IO
    return ::inb(address);
#else
    Q_UNUSED(address);
    return 0;
#endif
}

void DirectPortIo::out(quint16 address, quint8 value) {
#if TARVOLIN_HAS_PORT_IO
    ::outb(value, address);
#else
    Q_UNUSED(address);
    Q_UNUSED(value);
#endif
}
