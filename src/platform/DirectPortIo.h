#pragma once

#include <QtGlobal>

// Direct access to I/O ports (x86 only, and only with the privilege to change the I/O permission
// map, normally root). Error results are errno values; ENOSYS where the machine has no I/O ports.
class DirectPortIo {
public:
    static bool supported();
    // Whether this process may be granted I/O ports at all.
    static int checkAccess();
    // Grants access to one port address; needed once per address.
    static int grant(quint16 address);
    static quint8 in(quint16 address);
    static void out(quint16 address, quint8 value);
};
