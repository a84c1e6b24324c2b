#pragma once

#include "rankings/BestTwentyRow.h"

#include <QList>
#include <QString>

// The two best-twenty table files: the one place that names them, and the reading of their first
// rows for what shows the tables without changing them (the audience window, the live page).
namespace BestTwentyFiles {

enum Table { Men = 0, Women = 1 };

// "TopDeset.ini" for the men's table, "TopDeset1.ini" for the women's.
QString fileName(Table table);
// The table's file in the data folder, as the folder spells it.
QString path(const QString& dataFolder, Table table);
// The first count rows of the table as TBestTwentyTable reads its file. A file that is not there yet
// (a fresh station) gives no rows and is not created; one that cannot be read throws UserError.
QList<BestTwentyRow> firstRows(const QString& dataFolder, Table table, int count);

} // namespace BestTwentyFiles
