#include "config/AtomicFile.h"

#include <QSaveFile>

bool AtomicFile::write(const QString& path, const QByteArray& content, QString* errorString) {
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
