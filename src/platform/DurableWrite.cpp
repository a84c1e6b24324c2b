#include "platform/DurableWrite.h"

#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace DurableWrite {

bool writeAll(int fd, const QByteArray& bytes) {
    const char* data = bytes.constData();
    qsizetype left = bytes.size();
    while (left > 0) {
        const ssize_t written = ::write(fd, data, size_t(left));
        if (written < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        data += written;
        left -= written;
    }
    return true;
}

bool syncFolder(const QString& folder) {
    const int fd = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return false;
    const bool synced = ::fsync(fd) == 0;
    ::close(fd);
    return synced;
}

bool replaceFile(const QString& path, const QString& partialPath, const QByteArray& bytes, QString* error) {
    const QByteArray partial = QFile::encodeName(partialPath);
    const auto fail = [&](const QString& what) {
        if (error)
            *error = what + QStringLiteral(": ") + QString::fromLocal8Bit(std::strerror(errno));
        ::unlink(partial.constData());
        return false;
    };
    const int fd = ::open(partial.constData(), O_WRONLY | O_CREAT | O_TRUNC | O_NOFOLLOW | O_CLOEXEC, 0644);
    if (fd < 0) {
        if (error)
            *error = partialPath + QStringLiteral(": ") + QString::fromLocal8Bit(std::strerror(errno));
        return false;
    }
    // fdatasync, not fsync: the bytes and the file's length, not its times.
    bool written = writeAll(fd, bytes);
    while (written && ::fdatasync(fd) != 0) {
        if (errno != EINTR)
            written = false;
    }
    const int savedErrno = errno;
    ::close(fd);
    errno = savedErrno;
    if (!written)
        return fail(partialPath);
    if (::rename(partial.constData(), QFile::encodeName(path).constData()) != 0)
        return fail(path);
    // The file is whole in its place now; a folder that cannot be synced leaves only its entry to the
    // system's own writeback.
    syncFolder(QFileInfo(path).absolutePath());
    return true;
}

} // namespace DurableWrite
