#pragma once

#include <QString>
#include <QtGlobal>

// One way of reaching the parallel port's registers. TSmallPort owns one backend: the kernel's ppdev
// device, direct port I/O, or the virtual track. Addresses are I/O addresses (base, base + 1).
class PortBackend {
public:
    virtual ~PortBackend() = default;

    // Error codes are errno values; 0 means success.
    virtual int open() = 0;
    virtual void close() = 0;
    virtual int read(quint16 address, quint8& value) = 0;
    virtual int write(quint16 address, quint8 value) = 0;
    virtual QString name() const = 0;
};
