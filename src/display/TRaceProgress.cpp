#include "display/TRaceProgress.h"

#include "timing/LapTime.h"

#include <algorithm>
#include <limits>

namespace {

qint64 timeValue(const QString& text) {
    qint64 ms = 0;
    // A time the list never wrote counts as the slowest there is.
    return TryParseLapTime(text, &ms) ? ms : std::numeric_limits<qint64>::max();
}

} // namespace

TRaceProgress::TRaceProgress() {
    for (int i = 0; i < 4; ++i)
        m_rows[i] = {QString::number(i + 1), QStringLiteral("kara%1").arg(i + 1), QStringLiteral("59:59:999"),
                     QStringLiteral("1")};
}

const RaceProgressRow* TRaceProgress::row(const QString& name) const {
    for (const RaceProgressRow& row : m_rows) {
        if (row.name == name)
            return &row;
    }
    return nullptr;
}

bool TRaceProgress::StavZavodu(const QString& name, qint64 lapMs, int lapsBefore, int mode) {
    auto it =
        std::find_if(m_rows.begin(), m_rows.end(), [&](const RaceProgressRow& r) { return r.name == name; });
    if (it == m_rows.end())
        return false;
    const bool take = mode != MinimumTimes || (lapMs < timeValue(it->time) && lapMs > ShortestShownMs);
    if (take) {
        it->name = name;
        it->time = FormatLapTime(lapMs);
        it->laps = QString::number(lapsBefore + 1);
    }
    sortRows();
    return take;
}

int TRaceProgress::ZavodViewCompare(const RaceProgressRow& a, const RaceProgressRow& b) {
    const int lapsA = a.laps.toInt();
    const int lapsB = b.laps.toInt();
    if (lapsA != lapsB)
        return lapsA < lapsB ? -1 : 1;
    return timeValue(a.time) < timeValue(b.time) ? -1 : 1;
}

void TRaceProgress::sortRows() {
    // Rows equal in laps and time keep their order: the comparison's "after" would otherwise swap
    // them at every sort.
    std::stable_sort(m_rows.begin(), m_rows.end(), [](const RaceProgressRow& a, const RaceProgressRow& b) {
        return ZavodViewCompare(a, b) < 0;
    });
    for (int i = 0; i < 4; ++i)
        m_rows[i].position = QString::number(i + 1);
}
