#pragma once

#include <QList>
#include <QString>
#include <QtGlobal>

// One parallel port of the kernel's ppdev driver: a /dev/parportN device and the I/O base the kernel
// reports for it in /proc/sys/dev/parport/parportN/base-addr. Error results are errno values.
class PpdevDevice {
public:
    struct Port {
        QString devicePath;
        quint64 base = 0;
    };

    static QString defaultProcRoot() { return QStringLiteral("/proc/sys/dev/parport"); }
    static QString defaultDevRoot() { return QStringLiteral("/dev"); }

    // The ports the kernel knows, with their bases (directories "parportN" under procRoot).
    static QList<Port> listPorts(const QString& procRoot, const QString& devRoot);

    PpdevDevice() = default;
    PpdevDevice(const PpdevDevice&) = delete;
    PpdevDevice& operator=(const PpdevDevice&) = delete;
    ~PpdevDevice();

    // Opens the device and claims the port for this process.
    int open(const QString& devicePath);
    void close();
    bool isOpen() const { return m_fd >= 0; }

    int readStatus(quint8& value) const;
    int readData(quint8& value) const;
    int writeData(quint8 value) const;

private:
    int m_fd = -1;
};
