#pragma once

#include <QByteArray>
#include <QString>

// Writes a data file whole or not at all: the content goes to a new file beside the target, is
// flushed, and only then replaces the target by a rename. A crash, a full disk or a missing right
// leaves the old file as it was. A target that exists but is no regular file (a folder, a device, a
// FIFO, or a link to one) is never replaced.
class AtomicFile {
public:
    // Returns false when the file could not be written; errorString then says why.
    static bool write(const QString& path, const QByteArray& content, QString* errorString = nullptr);
};
