#pragma once

#include <QByteArray>
#include <QString>

// Writes that are on the disk once they return, so that a power cut after the call cannot take them
// back: the bytes synced, and the folder's entry of a file made or renamed synced with its folder.
namespace DurableWrite {

// Writes all the bytes to the open descriptor, resuming after a signal. False with errno set.
bool writeAll(int fd, const QByteArray& bytes);
// Makes the entries of the folder (a file made, renamed or removed in it) durable.
bool syncFolder(const QString& folder);
// Puts the bytes in place of the file at path, whole or not at all: written to partialPath beside it
// and synced, renamed over path, the folder synced (where the system lets it). A link at partialPath is
// refused, not written through. False with the reason in error (when given) otherwise; partialPath is then
// gone.
bool replaceFile(const QString& path, const QString& partialPath, const QByteArray& bytes,
                 QString* error = nullptr);

} // namespace DurableWrite
