// libFuzzer target of the archive reader: any bytes given to the listing, the verification and a
// restore must neither crash, hang nor hand out a target outside the restore's folder.
#include "backup/TBackupFile.h"

#include <QBuffer>
#include <QByteArray>
#include <QDir>
#include <QTemporaryDir>

#include <cstdint>
#include <cstdlib>

namespace {

const QString& targetRoot() {
    static QTemporaryDir dir(QDir::tempPath() + QStringLiteral("/tarvolin-fuzz-XXXXXX"));
    static const QString root = QDir(dir.path()).canonicalPath();
    return root;
}

void readWith(const QByteArray& bytes, bool fullPath, bool originalPlace) {
    QBuffer stream;
    stream.setData(bytes);
    stream.open(QIODevice::ReadOnly);
    TBackupFile backup;
    backup.setLetEventsRun(false);
    backup.setStreams(nullptr, &stream);
    backup.setRestoreFullPath(fullPath);
    backup.setDataFolder(targetRoot());
    // Every target is checked and then declined: the reader's path rules run without filling the disk.
    backup.OnRestoreFile = [](QString& name, qint32, bool& restore) {
        if (name != targetRoot() && !name.startsWith(targetRoot() + QLatin1Char('/')))
            std::abort();
        restore = false;
    };
    try {
        backup.RestoreArchive(QStringLiteral(":STREAM"), originalPlace ? QString() : targetRoot());
    } catch (const BackupError&) {
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    {
        QBuffer stream;
        stream.setData(bytes);
        stream.open(QIODevice::ReadOnly);
        TBackupFile backup;
        backup.setStreams(nullptr, &stream);
        QStringList lines;
        backup.ReadArchiveInfo(QStringLiteral(":STREAM"), &lines);
    }
    {
        QBuffer stream;
        stream.setData(bytes);
        stream.open(QIODevice::ReadOnly);
        TBackupFile backup;
        backup.setLetEventsRun(false);
        backup.setStreams(nullptr, &stream);
        backup.VerifyArchive(QStringLiteral(":STREAM"));
    }
    const uint8_t choice = size > 0 ? data[size - 1] : 0;
    readWith(bytes, choice & 1, choice & 2);
    return 0;
}
