#pragma once

#include "rankings/BestTwentyFiles.h"
#include "rankings/BestTwentyRow.h"

#include <QList>
#include <QtGlobal>

#include <array>

// Which laps a best-twenty table would take: the one rule for the insertion (at STOP and by hand)
// and for what the station calls a new record while a race runs (the live page, the call-outs), so
// that a lap marked as a record is one the table really takes.
class BestTwentyEntry {
public:
    // The table a kart's lap is offered to: the women's when a woman drives it.
    static BestTwentyFiles::Table tableFor(bool woman) {
        return woman ? BestTwentyFiles::Women : BestTwentyFiles::Men;
    }
    // A lap enters when its table has fewer than twenty rows (the missing ones are empty rows) or
    // when it is no slower than the slowest of the twenty: of equal times, the new lap stays and an
    // old row leaves. A lap of 0 is no lap.
    static bool takes(const QList<BestTwentyRow>& rows, qint64 lapMs);

    // Both tables as they were last read; until then, tables without rows.
    void setRows(BestTwentyFiles::Table table, const QList<BestTwentyRow>& rows);
    // Whether the table of the kart's driver would take the lap.
    bool takes(bool woman, qint64 lapMs) const { return takes(m_rows[tableFor(woman)], lapMs); }

private:
    std::array<QList<BestTwentyRow>, 2> m_rows;
};
