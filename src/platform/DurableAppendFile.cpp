#include "platform/DurableAppendFile.h"

#include "platform/DurableWrite.h"

#include <QFileInfo>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

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
    // The folder's entry of a new file is only durable once the folder itself is synced.
    DurableWrite::syncFolder(QFileInfo(path).absolutePath());
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
    if (!DurableWrite::writeAll(m_fd, bytes))
        return fail(m_path);
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
