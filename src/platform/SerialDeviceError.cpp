#include "platform/SerialDeviceError.h"

#include <QFile>

#include <cerrno>

#ifdef Q_OS_UNIX
#include <unistd.h>
#endif

int serialDeviceAccessError(const QString& systemLocation) {
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
    return 0;
}
