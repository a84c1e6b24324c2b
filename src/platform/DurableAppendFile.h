#pragma once

#include <QByteArray>
#include <QString>
#include <QtGlobal>

// A file that grows by records, each on the disk before append() returns: written whole and then
// fdatasync()ed, so that a power cut after the call cannot take it back. The folder's entry of a new
// file is synced once when it is created, so that the file itself survives the cut too.
class DurableAppendFile {
public:
    DurableAppendFile() = default;
    ~DurableAppendFile();
    DurableAppendFile(const DurableAppendFile&) = delete;
    DurableAppendFile& operator=(const DurableAppendFile&) = delete;

    // A new, empty file in place of any old one. False with errorString() set when it cannot be made.
    bool create(const QString& path);
    // An existing file, cut back to its first keepBytes bytes (a torn last record goes), appended to.
    bool reopen(const QString& path, qint64 keepBytes);
    bool isOpen() const { return m_fd >= 0; }
    // Writes the bytes and waits until they are on the disk. False with errorString() set otherwise.
    bool append(const QByteArray& bytes);
    void close();
    const QString& errorString() const { return m_error; }

private:
    bool fail(const QString& what);

    int m_fd = -1;
    QString m_path;
    QString m_error;
};
