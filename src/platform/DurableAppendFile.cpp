#include "platform/DurableAppendFile.h"

#include <QFileInfo>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace {

// The folder's entry of a new file is only durable once the folder itself is synced.
void syncFolder(const QString& path) {
    const int fd =
        ::open(QFile::encodeName(QFileInfo(path).absolutePath()).constData(), O_RDONLY | O_DIRECTORY);
    if (fd < 0)
        return;
    ::fsync(fd);
    ::close(fd);
}

} // namespace

DurableAppendFile::~DurableAppendFile() {
    close();
}

bool DurableAppendFile::fail(const QString& what) {
    m_error = what + QStringLiteral(": ") + QString::fromLocal8Bit(std::strerror(errno));
    close();
    return false;
}

bool DurableAppendFile::create(const QString& path) {
    close();
    m_path = path;
    // O_NOFOLLOW: a link planted in the journal's place is refused, never written through.
    m_fd = ::open(QFile::encodeName(path).constData(), O_WRONLY | O_CREAT | O_TRUNC | O_NOFOLLOW | O_CLOEXEC,
                  0644);
    if (m_fd < 0)
        return fail(path);
    if (::fdatasync(m_fd) != 0)
        return fail(path);
    syncFolder(path);
    return true;
}

bool DurableAppendFile::reopen(const QString& path, qint64 keepBytes) {
    close();
    m_path = path;
    m_fd = ::open(QFile::encodeName(path).constData(), O_WRONLY | O_NOFOLLOW | O_CLOEXEC);
    if (m_fd < 0)
        return fail(path);
    if (::ftruncate(m_fd, off_t(keepBytes)) != 0 || ::lseek(m_fd, 0, SEEK_END) < 0 || ::fdatasync(m_fd) != 0)
        return fail(path);
    return true;
}

bool DurableAppendFile::append(const QByteArray& bytes) {
    if (m_fd < 0) {
        m_error = m_path + QStringLiteral(": není otevřen");
        return false;
    }
    const char* data = bytes.constData();
    qsizetype left = bytes.size();
    while (left > 0) {
        const ssize_t written = ::write(m_fd, data, size_t(left));
        if (written < 0) {
            if (errno == EINTR)
                continue;
            return fail(m_path);
        }
        data += written;
        left -= written;
    }
    // fdatasync, not fsync: the record's bytes and the file's new length, not its times.
    while (::fdatasync(m_fd) != 0) {
        if (errno != EINTR)
            return fail(m_path);
    }
    return true;
}

void DurableAppendFile::close() {
    if (m_fd >= 0)
        ::close(m_fd);
    m_fd = -1;
}
