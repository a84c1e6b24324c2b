#include "timing/LapFile.h"

#include "app/UserError.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>
#include <QStringDecoder>
#include <QStringEncoder>

namespace {

// The program's text files are windows-1250; ICU provides the codec on Debian's Qt.
const char* const TextCodec = "windows-1250";

QString fileError(const char* pattern, const QString& path, const QString& reason) {
    return QString::fromUtf8(pattern).arg(QDir::toNativeSeparators(path), reason);
}

} // namespace

void saveLapFile(const QString& path, const QStringList& entries) {
    QString text;
    for (const QString& entry : entries)
        text += entry + QStringLiteral("\r\n");
    QStringEncoder encoder(TextCodec);
    const QByteArray bytes = encoder.encode(text);

    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        throw UserError(fileError("Cannot create file \"%1\". %2", path, file.errorString()));
    if (file.write(bytes) != bytes.size() || !file.commit())
        throw UserError(fileError("Cannot create file \"%1\". %2", path, file.errorString()));
}

QStringList loadLapFile(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw UserError(fileError("Cannot open file \"%1\". %2", path, file.errorString()));
    QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        throw UserError(fileError("Cannot open file \"%1\". %2", path, file.errorString()));
    const qsizetype nul = bytes.indexOf('\0');
    if (nul >= 0)
        bytes.truncate(nul);
    QStringDecoder decoder(TextCodec);
    return splitLapFileText(decoder.decode(bytes));
}

QStringList splitLapFileText(const QString& text) {
    QStringList lines;
    const qsizetype nul = text.indexOf(QChar(0));
    const qsizetype end = nul >= 0 ? nul : text.size();
    qsizetype start = 0;
    qsizetype i = 0;
    while (i < end) {
        const QChar c = text.at(i);
        if (c == QLatin1Char('\r') || c == QLatin1Char('\n')) {
            lines.append(text.mid(start, i - start));
            if (c == QLatin1Char('\r') && i + 1 < end && text.at(i + 1) == QLatin1Char('\n'))
                ++i;
            start = ++i;
        } else {
            ++i;
        }
    }
    if (start < end)
        lines.append(text.mid(start, end - start));
    return lines;
}
