#include "display/TRaceProgress.h"

#include "config/TSettings.h"
#include "timing/DriverNames.h"
#include "timing/LapList.h"
#include "timing/LapTime.h"

#include <algorithm>

namespace {

// What the standings compare of one kart in the current mode.
struct Standing {
    int kart = 0;
    bool placed = false;  // has the lap the mode ranks by
    qint64 key = 0;       // minimum times: the fastest lap; running times: minus the lap count
    qint64 reachedMs = 0; // the kart's race time at the lap that decides
    QString time;
    QString laps;
};

Standing standing(int kart, const QList<qint64>& laps, int mode) {
    Standing s;
    s.kart = kart;
    if (mode == TRaceProgress::MinimumTimes) {
        qint64 sum = 0;
        for (int i = 0; i < laps.size(); ++i) {
            sum += laps[i];
            const qint64 lap = laps[i];
            if (lap > TRaceProgress::ShortestShownMs && (!s.placed || lap < s.key)) {
                s.placed = true;
                s.key = lap;
                s.reachedMs = sum;
                s.laps = QString::number(i + 1);
            }
        }
        if (s.placed)
            s.time = FormatLapTime(s.key);
    } else if (!laps.isEmpty()) {
        s.placed = true;
        s.key = -qint64(laps.size());
        for (qint64 lap : laps)
            s.reachedMs += lap;
        s.time = FormatLapTime(laps.last());
        s.laps = QString::number(laps.size());
    }
    if (!s.placed) {
        s.time = TRaceProgress::noLapText();
        s.laps.clear();
    }
    return s;
}

bool ranksBefore(const Standing& a, const Standing& b) {
    if (a.placed != b.placed)
        return a.placed;
    if (a.placed && a.key != b.key)
        return a.key < b.key;
    if (a.placed && a.reachedMs != b.reachedMs)
        return a.reachedMs < b.reachedMs;
    return a.kart < b.kart;
}

} // namespace

TRaceProgress::TRaceProgress(const TSettings& settings, QObject* parent)
    : QObject(parent), m_settings(settings) {
    rank();
}

void TRaceProgress::follow(const std::array<LapList*, 4>& lists) {
    for (int k = 1; k <= 4; ++k) {
        LapList* list = lists[k - 1];
        if (!list)
            continue;
        connect(list, &LapList::changed, this, [this, k, list] { setEntries(k, list->entries()); });
        setEntries(k, list->entries());
    }
}

void TRaceProgress::followNames(const DriverNames& names) {
    m_names = &names;
    connect(&names, &DriverNames::changed, this, &TRaceProgress::rank);
    rank();
}

void TRaceProgress::setEntries(int kart, const QStringList& entries) {
    if (kart < 1 || kart > 4)
        return;
    QList<qint64> laps;
    laps.reserve(entries.size());
    for (const QString& entry : entries) {
        qint64 ms = 0;
        if (TryParseLapTime(entry, &ms))
            laps.append(ms);
    }
    m_laps[kart - 1] = laps;
    rank();
}

void TRaceProgress::rank() {
    std::array<Standing, 4> standings;
    for (int k = 1; k <= 4; ++k)
        standings[k - 1] = standing(k, m_laps[k - 1], m_settings.TVOUT.TypZobrazeni);
    std::sort(standings.begin(), standings.end(), ranksBefore);
    for (int i = 0; i < 4; ++i) {
        const Standing& s = standings[i];
        const QString name = m_names ? m_names->shownName(s.kart) : DriverNames::kartIdentifier(s.kart);
        m_rows[i] = {QString::number(i + 1), name, s.time, s.laps, s.kart};
    }
    emit changed();
}

const RaceProgressRow* TRaceProgress::row(const QString& name) const {
    for (const RaceProgressRow& row : m_rows) {
        if (DriverNames::kartIdentifier(row.kart) == name)
            return &row;
    }
    return nullptr;
}

std::optional<qint64> TRaceProgress::bestLap(int kart) const {
    std::optional<qint64> best;
    for (qint64 lap : m_laps[kart - 1]) {
        if (lap > ShortestShownMs && (!best || lap < *best))
            best = lap;
    }
    return best;
}
