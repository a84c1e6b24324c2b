#include "timing/LapFile.h"

#include "base/UserError.h"
#include "config/AtomicFile.h"
#include "config/TextCodec.h"

#include <QDir>
#include <QFile>

namespace {

QString fileError(const char* pattern, const QString& path, const QString& reason) {
    return QString::fromUtf8(pattern).arg(QDir::toNativeSeparators(path), reason);
}

} // namespace

void saveLapFile(const QString& path, const QStringList& entries) {
    QString reason;
    if (!AtomicFile::write(path, TextCodec::encodeLines(entries), &reason))
        throw UserError(fileError("Cannot create file \"%1\". %2", path, reason));
}

QStringList loadLapFile(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw UserError(fileError("Cannot open file \"%1\". %2", path, file.errorString()));
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        throw UserError(fileError("Cannot open file \"%1\". %2", path, file.errorString()));
    return TextCodec::decodeLines(bytes);
}

QStringList splitLapFileText(const QString& text) {
    return TextCodec::splitLines(text);
}
