#pragma once

#include "display/TRaceProgress.h"
#include "display/TopTenRow.h"

#include <QByteArray>
#include <QList>
#include <QMetaType>
#include <QtGlobal>

#include <array>
#include <optional>

// What the live results page shows, as one value handed from the race's thread to the server's.
struct LiveSnapshot {
    bool running = false;
    qint64 startUs = 0;   // the race clock's instant of the start, while running
    qint64 elapsedMs = 0; // at rest: the race time at the stop
    int raceMinutes = 0;
    bool flag = false; // the chequered flag: the race time ended and the karts drive their last lap
    std::array<QList<qint64>, 4> laps;         // kart 1..4's laps as its lap list holds them, in ms
    std::array<std::optional<qint64>, 4> best; // kart 1..4's fastest lap above 40 ms
    std::array<RaceProgressRow, 4> raceList;   // the standings
    // Whether kart 1..4's last and best laps would enter its driver's best-twenty table.
    std::array<bool, 4> lastRecord{};
    std::array<bool, 4> bestRecord{};
    QList<TopTenRow> men;
    QList<TopTenRow> women;

    // The page's JSON; a running race's clock is taken at nowUs, so that a browser can tick on from
    // the moment it receives it. A kart without a lap has the time "—" and an empty lap number.
    QByteArray toJson(qint64 nowUs) const;
};

Q_DECLARE_METATYPE(LiveSnapshot)
