#include "printing/PrintFileProposal.h"

#include <QDir>
#include <QFileInfo>

QString proposePdfFile(const QString& folder, const QString& stem, const QDate& day) {
    const QDir dir(folder);
    const QString base = stem + QLatin1Char('_') + day.toString(Qt::ISODate);
    QString path = dir.filePath(base + QStringLiteral(".pdf"));
    for (int n = 2; QFileInfo::exists(path); ++n)
        path = dir.filePath(base + QStringLiteral("_%1.pdf").arg(n));
    return path;
}
