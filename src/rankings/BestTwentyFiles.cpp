#include "rankings/BestTwentyFiles.h"

#include "config/DataFolder.h"
#include "rankings/TBestTwentyTable.h"

namespace BestTwentyFiles {

QString fileName(Table table) {
    return table == Men ? QStringLiteral("TopDeset.ini") : QStringLiteral("TopDeset1.ini");
}

QString path(const QString& dataFolder, Table table) {
    return DataFolder::resolve(dataFolder, fileName(table));
}

QList<BestTwentyRow> firstRows(const QString& dataFolder, Table table, int count) {
    TBestTwentyTable read;
    if (!read.read(path(dataFolder, table)))
        return {};
    return read.rows().mid(0, count);
}

} // namespace BestTwentyFiles
