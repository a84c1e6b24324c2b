#include "display/TopTenList.h"

#include "base/UserError.h"
#include "config/FileMessages.h"
#include "config/TextCodec.h"

#include <QFile>

namespace {

// Ten short lines; a larger file is read only as far as this.
constexpr qint64 MaxReadBytes = 64 * 1024;

} // namespace

QList<TopTenRow> readTopTen(const QString& path) {
    QFile file(path);
    if (!file.exists())
        return {};
    if (!file.open(QIODevice::ReadOnly))
        throw UserError(cannotOpenFileMessage(path, file.errorString()));
    const QByteArray bytes = file.read(MaxReadBytes);
    if (file.error() != QFileDevice::NoError)
        throw UserError(cannotOpenFileMessage(path, file.errorString()));
    QList<TopTenRow> rows;
    for (const QString& line : TextCodec::decodeLines(bytes)) {
        if (rows.size() == 10)
            break;
        const QStringList pieces = QString(line + QLatin1Char('\t')).split(QLatin1Char('\t'));
        rows.append({pieces.value(0), pieces.value(1), pieces.value(2)});
    }
    return rows;
}
