// The audience's race list in both modes, its order, and the top-ten lists read from the best-twenty
// files.
#include "TempDataFolder.h"

#include "base/UserError.h"
#include "config/TextCodec.h"
#include "display/TRaceProgress.h"
#include "display/TopTenList.h"

#include <gtest/gtest.h>

namespace {

QStringList names(const TRaceProgress& list) {
    QStringList out;
    for (const RaceProgressRow& row : list.rows())
        out << row.position + QLatin1Char(' ') + row.name + QLatin1Char(' ') + row.time + QLatin1Char(' ') +
                   row.laps;
    return out;
}

} // namespace

TEST(RaceProgress, StartsWithTheFourInitialRows) {
    const TRaceProgress list;
    EXPECT_EQ(names(list), QStringList({"1 kara1 59:59:999 1", "2 kara2 59:59:999 1", "3 kara3 59:59:999 1",
                                        "4 kara4 59:59:999 1"}));
}

TEST(RaceProgress, MinimumTimesKeepEachKartsFastestLapAboveFortyMilliseconds) {
    TRaceProgress list;
    EXPECT_TRUE(list.StavZavodu("kara2", 45000, 0, TRaceProgress::MinimumTimes));
    EXPECT_EQ(list.row("kara2")->time, "00:45:000");
    EXPECT_EQ(list.row("kara2")->laps, "1");
    // Slower, then noise of 40 ms and less: the row stays.
    EXPECT_FALSE(list.StavZavodu("kara2", 46000, 1, TRaceProgress::MinimumTimes));
    EXPECT_FALSE(list.StavZavodu("kara2", 40, 2, TRaceProgress::MinimumTimes));
    EXPECT_FALSE(list.StavZavodu("kara2", 3, 3, TRaceProgress::MinimumTimes));
    EXPECT_EQ(list.row("kara2")->time, "00:45:000");
    EXPECT_EQ(list.row("kara2")->laps, "1");
    EXPECT_TRUE(list.StavZavodu("kara2", 41, 4, TRaceProgress::MinimumTimes));
    EXPECT_EQ(list.row("kara2")->time, "00:00:041");
    EXPECT_EQ(list.row("kara2")->laps, "5");

    // A new race starts counting laps from 0 again; the best shown is still the earlier race's.
    EXPECT_FALSE(list.StavZavodu("kara2", 30000, 0, TRaceProgress::MinimumTimes));
    EXPECT_EQ(list.row("kara2")->time, "00:00:041");
}

TEST(RaceProgress, RunningTimesShowEveryLapAndTheListStaysSorted) {
    TRaceProgress list;
    list.StavZavodu("kara1", 31000, 0, TRaceProgress::RunningTimes);
    list.StavZavodu("kara1", 35000, 1, TRaceProgress::RunningTimes);
    list.StavZavodu("kara1", 39000, 2, TRaceProgress::RunningTimes);
    EXPECT_EQ(list.row("kara1")->time, "00:39:000");
    EXPECT_EQ(list.row("kara1")->laps, "3");
    list.StavZavodu("kara3", 20000, 0, TRaceProgress::RunningTimes);
    list.StavZavodu("kara3", 20000, 1, TRaceProgress::RunningTimes);
    list.StavZavodu("kara4", 25000, 0, TRaceProgress::RunningTimes);
    list.StavZavodu("kara4", 19000, 1, TRaceProgress::RunningTimes);
    // Fewer laps first whatever the times; equal laps by time; positions follow the order.
    EXPECT_EQ(names(list), QStringList({"1 kara2 59:59:999 1", "2 kara4 00:19:000 2", "3 kara3 00:20:000 2",
                                        "4 kara1 00:39:000 3"}));
    // An unknown name changes no row.
    EXPECT_FALSE(list.StavZavodu("kara9", 1000, 0, TRaceProgress::RunningTimes));
}

TEST(RaceProgress, TheComparisonNeverCallsTwoRowsEqual) {
    const RaceProgressRow a{"1", "kara1", "00:30:000", "2"};
    const RaceProgressRow b{"2", "kara2", "00:30:000", "2"};
    EXPECT_EQ(TRaceProgress::ZavodViewCompare(a, b), 1);
    EXPECT_EQ(TRaceProgress::ZavodViewCompare(b, a), 1);
    const RaceProgressRow fewer{"3", "kara3", "00:50:000", "1"};
    EXPECT_EQ(TRaceProgress::ZavodViewCompare(fewer, a), -1);
    EXPECT_EQ(TRaceProgress::ZavodViewCompare(a, fewer), 1);
}

TEST(TopTenList, TakesTheFirstTenLinesCutAtTheirTabs) {
    TempDataFolder folder;
    QStringList lines;
    for (int rank = 1; rank <= 20; ++rank)
        lines << QStringLiteral("%1\tŠťastný %1\t00:%2:000\t2026-12-09").arg(rank).arg(rank + 20);
    lines[10] = QStringLiteral("11\tchanged below the tenth\t00:00:001");
    const QString path = folder.writeFile("TopDeset.ini", TextCodec::encodeLines(lines));
    const QList<TopTenRow> rows = readTopTen(path);
    ASSERT_EQ(rows.size(), 10);
    EXPECT_EQ(rows[0].rank, "1");
    EXPECT_EQ(rows[0].name, QStringLiteral("Šťastný 1"));
    EXPECT_EQ(rows[9].time, "00:30:000");

    // A line without TABs is a rank alone; a short file gives what it has.
    const QString shortFile =
        folder.writeFile("short.ini", TextCodec::encodeLines({"1", "2\tEva\t00:41:000"}));
    const QList<TopTenRow> few = readTopTen(shortFile);
    ASSERT_EQ(few.size(), 2);
    EXPECT_EQ(few[0].name, "");
    EXPECT_EQ(few[1].name, "Eva");
}

TEST(TopTenList, AMissingFileIsEmptyAndAnUnreadableOneIsAnError) {
    TempDataFolder folder;
    EXPECT_TRUE(readTopTen(folder.filePath("TopDeset1.ini")).isEmpty());
    // Something there that is no readable file.
    const QString path = folder.makeFolder("TopDeset1.ini");
    EXPECT_THROW(readTopTen(path), UserError);
}
