#include "rankings/BestTwentyEntry.h"

#include "rankings/TBestTwentyTable.h"

#include <algorithm>

bool BestTwentyEntry::takes(const QList<BestTwentyRow>& rows, qint64 lapMs) {
    if (lapMs <= 0)
        return false;
    qint64 slowest = rows.size() < TBestTwentyTable::RowCount ? BestTwentyRow::EmptyTimeMs : 0;
    for (int i = 0; i < TBestTwentyTable::RowCount && i < rows.size(); ++i)
        slowest = std::max(slowest, rows.at(i).timeValue());
    return lapMs <= slowest;
}

void BestTwentyEntry::setRows(BestTwentyFiles::Table table, const QList<BestTwentyRow>& rows) {
    m_rows[table] = rows.mid(0, TBestTwentyTable::RowCount);
}
