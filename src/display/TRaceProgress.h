#pragma once

#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QtGlobal>

#include <array>
#include <optional>

class DriverNames;
class LapList;
struct TSettings;

// One row of the race standings: the four texts the audience's race list shows.
struct RaceProgressRow {
    QString position; // "1" .. "4", the kart's place in the standings
    QString name;     // the driver's name when known, else "kara1" .. "kara4"
    QString time;     // a lap time text; "—" for a kart without a lap
    QString laps;     // decimal lap number; empty for a kart without a lap
    int kart = 0;     // 1..4
};

// The race as its audience sees it, one model for the TV window and the live page: each kart's laps
// as its lap list holds them now, and the standings ranked from them. It follows the lists change by
// change (the race's laps, the START's emptying, the STOP's filters, the operator's deletions, edits
// and loads), so no view can keep a lap the list no longer has.
//
// Standings, by `TVOUT/TypZobrazeni` read at every change:
// - running times (1): most laps first; of equal laps the kart that completed its last lap earlier.
//   The row shows the latest lap and the lap count.
// - minimum times (0): the fastest lap first; of equal ones the kart that drove it earlier. The row
//   shows the fastest lap and the number of the lap it was driven on. Laps of 40 ms or less are
//   sensor noise and never a kart's best.
// Karts without a lap (for minimum times: without a lap above 40 ms) stand last, in kart order.
//
// A kart's race time at a lap is the sum of its listed laps up to it: the lists are what the
// standings count, they may hold laps loaded from a file that were never passes of this race, and
// after a deletion or the STOP's filters the remaining laps still add up to a comparable time. In an
// untouched race it is the race time of the kart's pass less its correction per lap.
class TRaceProgress : public QObject {
    Q_OBJECT

public:
    enum Mode { MinimumTimes = 0, RunningTimes = 1 };
    static constexpr qint64 ShortestShownMs = 40;
    static QString noLapText() { return QStringLiteral("—"); }

    explicit TRaceProgress(const TSettings& settings, QObject* parent = nullptr);

    // From now on the standings follow these lists (kart 1..4); they are taken as they are now.
    void follow(const std::array<LapList*, 4>& lists);
    // From now on the rows carry the drivers' names.
    void followNames(const DriverNames& names);
    // Kart 1..4's list entries as they are now; entries that are no lap times are no laps.
    void setEntries(int kart, const QStringList& entries);
    // Ranks again, for `TVOUT/TypZobrazeni` changed.
    void rank();

    // In standings order.
    const std::array<RaceProgressRow, 4>& rows() const { return m_rows; }
    // The row of the kart identifier "karaN"; null for a name that is no kart's.
    const RaceProgressRow* row(const QString& name) const;
    // Kart 1..4's laps in ms, oldest first.
    const QList<qint64>& laps(int kart) const { return m_laps[kart - 1]; }
    // Kart 1..4's fastest lap above 40 ms.
    std::optional<qint64> bestLap(int kart) const;

signals:
    // After every change of the laps or the standings.
    void changed();

private:
    const TSettings& m_settings;
    const DriverNames* m_names = nullptr;
    std::array<QList<qint64>, 4> m_laps;
    std::array<RaceProgressRow, 4> m_rows;
};
