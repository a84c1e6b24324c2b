#include "upkeep/ServiceBook.h"

#include "base/UserError.h"
#include "config/AtomicFile.h"
#include "config/DataFileReader.h"
#include "config/FileMessages.h"
#include "config/TextCodec.h"
#include "timing/LapTime.h"

QString ServiceBook::line(const QDateTime& when, int kart, qint64 zeroedMinutes, qint64 totalMinutes) {
    return QStringLiteral("%1  motokára %2  vynulováno %3 hodin  celkem %4 hodin")
        .arg(when.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")))
        .arg(kart)
        .arg(FormatEngineTime(qint32(zeroedMinutes)), FormatEngineTime(qint32(totalMinutes)));
}

void ServiceBook::append(const QDateTime& when, int kart, qint64 zeroedMinutes, qint64 totalMinutes) const {
    const DataFileReader::Result read = DataFileReader::read(m_path);
    if (read.status != DataFileReader::Status::Read && read.status != DataFileReader::Status::Missing)
        throw UserError(read.error);
    QByteArray content = read.bytes;
    // A book whose last line lacks its end keeps that line whole.
    if (!content.isEmpty() && !content.endsWith('\n'))
        content += "\r\n";
    content += TextCodec::encodeLines({line(when, kart, zeroedMinutes, totalMinutes)});
    QString reason;
    if (!AtomicFile::write(m_path, content, &reason))
        throw UserError(cannotCreateFileMessage(m_path, reason));
}
