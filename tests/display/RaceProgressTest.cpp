// The race standings of the audience's list and the live page: their order in both modes, and a
// model that follows the lap lists as they are after every change.
#include "config/TSettings.h"
#include "display/TRaceProgress.h"
#include "timing/LapList.h"

#include <gtest/gtest.h>

namespace {

QStringList standings(const TRaceProgress& progress) {
    QStringList out;
    for (const RaceProgressRow& row : progress.rows())
        out << QStringList({row.position, row.name, row.time, row.laps}).join(QLatin1Char(' '));
    return out;
}

} // namespace

TEST(RaceProgress, RunningTimesRankMostLapsFirstThenTheEarlierLastLap) {
    TSettings settings;
    settings.TVOUT.TypZobrazeni = TRaceProgress::RunningTimes;
    TRaceProgress progress(settings);
    EXPECT_EQ(standings(progress), QStringList({"1 kara1 — ", "2 kara2 — ", "3 kara3 — ", "4 kara4 — "}));

    // Karts 1 and 3 have three laps each; kart 3 completed its third at 88 s, kart 1 at 90 s, though
    // kart 1's last lap is the faster one. A line that is no lap time is no lap.
    progress.setEntries(1, {"00:31:000", "00:31:000", "00:28:000"});
    progress.setEntries(2, {"00:20:000", "00:20:000"});
    progress.setEntries(3, {"00:29:000", "načteno", "00:29:000", "00:30:000"});
    EXPECT_EQ(standings(progress), QStringList({"1 kara3 00:30:000 3", "2 kara1 00:28:000 3",
                                                "3 kara2 00:20:000 2", "4 kara4 — "}));
}

TEST(RaceProgress, MinimumTimesRankTheFastestLapFirstAndKartsWithoutOneLast) {
    TSettings settings;
    settings.TVOUT.TypZobrazeni = TRaceProgress::MinimumTimes;
    TRaceProgress progress(settings);
    // Karts 1 and 2 drove 30 s; kart 2 drove it earlier (at 30 s, kart 1 at 61 s). Kart 3's only
    // laps are sensor noise of 40 ms and less.
    progress.setEntries(1, {"00:31:000", "00:30:000", "00:35:000"});
    progress.setEntries(2, {"00:30:000", "00:33:000"});
    progress.setEntries(3, {"00:00:040", "00:00:003"});
    progress.setEntries(4, {"00:32:000", "00:29:500"});
    EXPECT_EQ(standings(progress), QStringList({"1 kara4 00:29:500 2", "2 kara2 00:30:000 1",
                                                "3 kara1 00:30:000 2", "4 kara3 — "}));
    EXPECT_FALSE(progress.bestLap(3).has_value());

    // The mode changed in the settings: the same laps ranked anew.
    settings.TVOUT.TypZobrazeni = TRaceProgress::RunningTimes;
    progress.rank();
    EXPECT_EQ(progress.rows()[0].name, "kara1");
}

TEST(RaceProgress, FollowsTheLapListsThroughDeletionsFiltersAndTheStartsEmptying) {
    TSettings settings;
    LapList lists[4];
    lists[1].setEntries({"00:40:000"});
    TRaceProgress progress(settings);
    progress.follow({&lists[0], &lists[1], &lists[2], &lists[3]});
    EXPECT_EQ(progress.row("kara2")->laps, "1");

    for (const char* lap : {"00:30:000", "00:02:500", "00:31:000"})
        lists[0].appendAndSelect(QString::fromLatin1(lap));
    EXPECT_EQ(standings(progress).first(), "1 kara1 00:31:000 3");
    EXPECT_EQ(progress.bestLap(1), 2500);

    // The short lap joins the lap after it: it is no lap of the kart's any more, nor its best.
    lists[0].removeBelow(3000);
    EXPECT_EQ(progress.laps(1), QList<qint64>({30000, 33500}));
    EXPECT_EQ(progress.bestLap(1), 30000);
    // The operator deletes the last lap.
    lists[0].setSelectedIndex(1);
    lists[0].deleteSelected();
    EXPECT_EQ(standings(progress).first(), "1 kara1 00:30:000 1");

    // The START empties every list: no kart keeps a row of the last race.
    for (LapList& list : lists)
        list.clear();
    EXPECT_EQ(standings(progress), QStringList({"1 kara1 — ", "2 kara2 — ", "3 kara3 — ", "4 kara4 — "}));
}
