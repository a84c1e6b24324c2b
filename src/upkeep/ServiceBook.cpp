#include "upkeep/ServiceBook.h"

#include "base/UserError.h"
#include "config/AtomicFile.h"
#include "config/FileMessages.h"
#include "config/TextCodec.h"
#include "timing/LapTime.h"

#include <QFile>

QString ServiceBook::line(const QDateTime& when, int kart, qint64 zeroedMinutes, qint64 totalMinutes) {
    return QStringLiteral("%1  motokára %2  vynulováno %3 hodin  celkem %4 hodin")
        .arg(when.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")))
        .arg(kart)
        .arg(FormatEngineTime(qint32(zeroedMinutes)), FormatEngineTime(qint32(totalMinutes)));
}

void ServiceBook::append(const QDateTime& when, int kart, qint64 zeroedMinutes, qint64 totalMinutes) const {
    QByteArray content;
    QFile file(m_path);
    if (file.exists()) {
        if (!file.open(QIODevice::ReadOnly))
            throw UserError(cannotOpenFileMessage(m_path, file.errorString()));
        content = file.readAll();
        // A book whose last line lacks its end keeps that line whole.
        if (!content.isEmpty() && !content.endsWith('\n'))
            content += "\r\n";
    }
    content += TextCodec::encodeLines({line(when, kart, zeroedMinutes, totalMinutes)});
    QString reason;
    if (!AtomicFile::write(m_path, content, &reason))
        throw UserError(cannotCreateFileMessage(m_path, reason));
}
