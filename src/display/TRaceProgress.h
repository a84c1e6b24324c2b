#pragma once

#include <QString>
#include <QtGlobal>

#include <array>

// One row of the audience's race list: all four fields are the texts the list shows.
struct RaceProgressRow {
    QString position; // "1" .. "4", the place after the last sort
    QString name;     // "kara1" .. "kara4"; rows are found by it
    QString time;     // a lap time text
    QString laps;     // decimal lap number
};

// The audience's race list: exactly four rows, one per kart. The rows are never cleared; each keeps
// what the last lap wrote into it from race to race, until the list is made anew.
class TRaceProgress {
public:
    // `TVOUT/TypZobrazeni`: the fastest lap so far, or every lap as it comes.
    enum Mode { MinimumTimes = 0, RunningTimes = 1 };
    // Laps this short are sensor noise, never a kart's best.
    static constexpr qint64 ShortestShownMs = 40;

    TRaceProgress();

    const std::array<RaceProgressRow, 4>& rows() const { return m_rows; }
    // The row of the kart name; null for a name that is no kart's.
    const RaceProgressRow* row(const QString& name) const;

    // A lap of lapMs closed by the kart name, which had lapsBefore laps in its list before it. Mode 0
    // takes the lap only when it beats the time shown and is longer than 40 ms. The rows are sorted
    // and numbered again either way. Returns whether the kart's row took the lap.
    bool StavZavodu(const QString& name, qint64 lapMs, int lapsBefore, int mode);

    // Whether row a stands before row b: fewer laps first, then the smaller time. Never reports the
    // two as equal: of rows equal in laps and time, a stands after b.
    static int ZavodViewCompare(const RaceProgressRow& a, const RaceProgressRow& b);

private:
    void sortRows();

    std::array<RaceProgressRow, 4> m_rows;
};
