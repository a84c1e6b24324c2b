#include "timing/LapFile.h"

#include "base/MessageText.h"
#include "base/UserError.h"
#include "config/AtomicFile.h"
#include "config/DataFileReader.h"
#include "config/FileMessages.h"
#include "config/TextCodec.h"
#include "timing/LapTime.h"

#include <QDir>

namespace {

// A NUL ends a lap file's text: nothing after it is an entry of the list.
template <typename Text, typename Char> Text beforeNul(const Text& text, Char nul) {
    const qsizetype end = text.indexOf(nul);
    return end < 0 ? text : text.left(end);
}

} // namespace

void saveLapFile(const QString& path, const QStringList& entries) {
    QString reason;
    if (!AtomicFile::write(path, TextCodec::encodeLines(entries), &reason))
        throw UserError(cannotCreateFileMessage(path, reason));
}

QStringList loadLapFile(const QString& path) {
    const DataFileReader::Result read = DataFileReader::read(path, MaxLapFileBytes);
    if (read.status == DataFileReader::Status::Missing)
        throw UserError(cannotOpenFileMessage(path, QStringLiteral("Soubor neexistuje.")));
    if (read.status != DataFileReader::Status::Read)
        throw UserError(read.error);
    return TextCodec::decodeLines(beforeNul(read.bytes, '\0'));
}

QStringList loadLapTimesFile(const QString& path) {
    const QStringList entries = loadLapFile(path);
    constexpr int Named = 5;
    QStringList bad;
    int badCount = 0;
    for (int i = 0; i < entries.size(); ++i) {
        qint64 lap = 0;
        if (TryParseLapTime(entries.at(i), &lap))
            continue;
        if (++badCount <= Named)
            bad << QStringLiteral("řádek %1: \u201e%2\u201c")
                       .arg(i + 1)
                       .arg(shortenedForMessage(entries.at(i)));
    }
    if (badCount == 0)
        return entries;
    if (badCount > Named)
        bad << QStringLiteral("(celkem %1 takových řádků)").arg(badCount);
    throw UserError(QStringLiteral("Soubor \"%1\" nebyl načten, tyto řádky nejsou časy kol:\n")
                        .arg(QDir::toNativeSeparators(path)) +
                    bad.join(QLatin1Char('\n')));
}

QStringList splitLapFileText(const QString& text) {
    return TextCodec::splitLines(beforeNul(text, QChar(u'\0')));
}
