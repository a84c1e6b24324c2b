#include "config/AtomicFile.h"

#include "config/DataFileReader.h"

#include <QSaveFile>

bool AtomicFile::write(const QString& path, const QByteArray& content, QString* errorString) {
    // A folder, a device or a FIFO in the file's place is the operator's to sort out; renaming a new
    // file over it (or over what a link points to) would destroy it.
    const QString refusal = DataFileReader::notRegularFile(path);
    if (!refusal.isEmpty()) {
        if (errorString)
            *errorString = refusal;
        return false;
    }
    QSaveFile file(path);
    // Writing in place would lose the guarantee; a folder we cannot create files in is a failure.
    file.setDirectWriteFallback(false);
    const bool written = file.open(QIODevice::WriteOnly) && file.write(content) == content.size() &&
                         file.flush() && file.commit();
    if (!written) {
        if (errorString)
            *errorString = file.errorString();
        file.cancelWriting();
    }
    return written;
}
