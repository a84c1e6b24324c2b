#include "config/DataFileReader.h"

#include "config/FileMessages.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

QString DataFileReader::notRegularFile(const QString& path) {
    // QFileInfo follows links: a link to a device or a FIFO answers for what it points to.
    const QFileInfo info(path);
    QString what;
    if (info.isSymLink() && !info.exists())
        what = QStringLiteral("je to odkaz, který nikam nevede");
    else if (!info.exists() || info.isFile())
        return QString();
    else if (info.isDir())
        what = QStringLiteral("je to složka");
    else
        what = QStringLiteral("je to zařízení, roura nebo odkaz na ně");
    return QStringLiteral("Soubor \"%1\" není obyčejný soubor (%2). Stanice ho nečte ani nepřepíše; "
                          "nahraďte ho obyčejným souborem nebo ho odstraňte.")
        .arg(QDir::toNativeSeparators(path), what);
}

QString DataFileReader::tooLarge(const QString& path, qint64 maxBytes) {
    return QStringLiteral("Soubor \"%1\" je větší než %2 MB, takový datový soubor stanice nemá. "
                          "Nebyl načten.")
        .arg(QDir::toNativeSeparators(path))
        .arg(maxBytes / (1024 * 1024));
}

DataFileReader::Result DataFileReader::read(const QString& path, qint64 maxBytes) {
    Result result;
    const QFileInfo info(path);
    if (!info.exists() && !info.isSymLink())
        return result;
    result.status = Status::Refused;
    result.error = notRegularFile(path);
    if (!result.error.isEmpty())
        return result;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        result.status = Status::Unreadable;
        result.error = cannotOpenFileMessage(path, file.errorString());
        return result;
    }
    // Read one byte past the bound: a file that grows while it is read is caught as well.
    result.bytes = file.read(maxBytes + 1);
    if (file.error() != QFileDevice::NoError) {
        result.status = Status::Unreadable;
        result.error = cannotOpenFileMessage(path, file.errorString());
        result.bytes.clear();
        return result;
    }
    if (result.bytes.size() > maxBytes) {
        result.error = tooLarge(path, maxBytes);
        result.bytes.clear();
        return result;
    }
    result.status = Status::Read;
    return result;
}
