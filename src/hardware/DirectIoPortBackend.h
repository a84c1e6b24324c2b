#pragma once

#include "hardware/PortBackend.h"

#include <QSet>

// The port by direct I/O instructions: x86 only, and only for a process allowed to change its I/O
// permissions (root). Elsewhere opening fails with ENOSYS or EPERM.
class DirectIoPortBackend : public PortBackend {
public:
    int open() override;
    void close() override;
    int read(quint16 address, quint8& value) override;
    int write(quint16 address, quint8 value) override;
    QString name() const override { return QStringLiteral("přímý přístup k portům"); }

private:
    int grant(quint16 address);

    QSet<quint16> m_granted;
};
