#include "platform/PpdevDevice.h"

#include <QDir>
#include <QFile>

#include <fcntl.h>
#include <linux/parport.h>
#include <linux/ppdev.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <cerrno>

QList<PpdevDevice::Port> PpdevDevice::listPorts(const QString& procRoot, const QString& devRoot) {
    QList<Port> ports;
    const QDir proc(procRoot);
    const QStringList names =
        proc.entryList({QStringLiteral("parport*")}, QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name);
    for (const QString& name : names) {
        QFile baseFile(proc.filePath(name + QStringLiteral("/base-addr")));
        if (!baseFile.open(QIODevice::ReadOnly))
            continue;
        // "888\t1912": the base, then the extended registers' base.
        const QByteArray firstField = baseFile.readAll().simplified().split(' ').value(0);
        bool ok = false;
        const quint64 base = firstField.toULongLong(&ok);
        if (ok)
            ports.append({devRoot + QLatin1Char('/') + name, base});
    }
    return ports;
}

PpdevDevice::~PpdevDevice() {
    close();
}

int PpdevDevice::open(const QString& devicePath) {
    close();
    const int fd = ::open(QFile::encodeName(devicePath).constData(), O_RDWR | O_CLOEXEC);
    if (fd < 0)
        return errno;
    if (::ioctl(fd, PPCLAIM) != 0) {
        const int error = errno;
        ::close(fd);
        return error;
    }
    m_fd = fd;
    return 0;
}

void PpdevDevice::close() {
    if (m_fd < 0)
        return;
    ::ioctl(m_fd, PPRELEASE);
    ::close(m_fd);
    m_fd = -1;
}

int PpdevDevice::readStatus(quint8& value) const {
    unsigned char byte = 0;
    if (::ioctl(m_fd, PPRSTATUS, &byte) != 0)
        return errno;
    value = byte;
    return 0;
}

int PpdevDevice::readData(quint8& value) const {
    unsigned char byte = 0;
    if (::ioctl(m_fd, PPRDATA, &byte) != 0)
        return errno;
    value = byte;
    return 0;
}

int PpdevDevice::writeData(quint8 value) const {
    unsigned char byte = value;
    if (::ioctl(m_fd, PPWDATA, &byte) != 0)
        return errno;
    return 0;
}
