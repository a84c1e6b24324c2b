#include "platform/SerialDeviceError.h"

#include <QFile>

#include <cerrno>

#ifdef Q_OS_UNIX
#include <unistd.h>
#endif

int serialDeviceErrorNumber(const QString& systemLocation, QSerialPort::SerialPortError error) {
#ifdef Q_OS_UNIX
    // The port component keeps only its own error class; asking the file system again gives the
    // real number for the usual causes (a missing device, no access) without opening the device,
    // which would toggle its handshake lines.
    const QByteArray path = QFile::encodeName(systemLocation);
    if (::access(path.constData(), F_OK) != 0 || ::access(path.constData(), R_OK | W_OK) != 0)
        return errno;
#else
    Q_UNUSED(systemLocation);
#endif
    switch (error) {
    case QSerialPort::NoError:
        return 0;
    case QSerialPort::DeviceNotFoundError:
        return ENOENT;
    case QSerialPort::PermissionError: // present and accessible, so held by another program
    case QSerialPort::OpenError:
        return EBUSY;
    case QSerialPort::UnsupportedOperationError:
        return EINVAL;
    default:
        return EIO;
    }
}
