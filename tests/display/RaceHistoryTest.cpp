// The history of kept races: what the folder's names make a race, the order, what a page reads, and
// that no id but a listed race's reaches a file.
#include "display/RaceHistory.h"
#include "timing/DriverNames.h"
#include "timing/LapFile.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

namespace {

void keep(const QDir& dir, const QString& name, const QStringList& laps) {
    saveLapFile(dir.filePath(name), laps);
}

TEST(RaceHistory, GroupsKeptFilesIntoRacesNewestFirstAndIgnoresOthers) {
    QTemporaryDir temp;
    const QDir dir(temp.path());
    keep(dir, "2026-05-01 10-00-00 kara1.txt", {"00:31:000", "00:30:500"});
    keep(dir, "2026-05-01 10-00-00 kara3.txt", {"00:29:900", "00:00:030"});
    keep(dir, "2026-05-01 10-00-00 kara1 (2).txt", {"00:33:000"});
    keep(dir, "2026-06-02 09-15-00 kara2.txt", {"00:40:000"});
    keep(dir, "2026-05-01 10-00-00 kara5.txt", {"00:40:000"});
    keep(dir, "2026-13-01 10-00-00 kara1.txt", {"00:40:000"});
    keep(dir, "poznamky kara1.txt", {"00:40:000"});
    keep(dir, "2026-05-01 10-00-00 kara2 (0).txt", {"00:40:000"});
    keep(dir, "2026-05-01 10-00-00 kara2.txt.bak", {"00:40:000"});
    DriverNames::save(dir.filePath("2026-05-01 10-00-00 jezdci.txt"), {"Eva", "", "Petr", ""});

    RaceHistory history(temp.path());
    const QList<KeptRace>& races = history.races();
    ASSERT_EQ(races.size(), 3);
    EXPECT_EQ(races[0].id, "2026-06-02_09-15-00");
    EXPECT_EQ(races[1].id, "2026-05-01_10-00-00_2");
    EXPECT_EQ(races[2].id, "2026-05-01_10-00-00");
    EXPECT_EQ(races[2].karts(), 2);

    const KeptRaceSummary summary = history.summary(races[2]);
    EXPECT_EQ(summary.laps, 4);
    ASSERT_TRUE(summary.best);
    EXPECT_EQ(*summary.best, 29900); // the 30 ms sensor noise is no lap

    const std::optional<KeptRaceDetail> race = history.open("2026-05-01_10-00-00");
    ASSERT_TRUE(race);
    EXPECT_EQ(race->drivers[0], "Eva");
    EXPECT_EQ(race->drivers[2], "Petr");
    EXPECT_EQ(race->laps[0], (QList<qint64>{31000, 30500}));
    EXPECT_TRUE(race->laps[1].isEmpty());
}

TEST(RaceHistory, RefusesEveryIdThatIsNotAListedRace) {
    QTemporaryDir temp;
    const QDir dir(temp.path());
    keep(dir, "2026-05-01 10-00-00 kara1.txt", {"00:31:000"});
    RaceHistory history(temp.path());
    for (const QString& hostile :
         {QStringLiteral("../2026-05-01_10-00-00"), QStringLiteral("2026-05-01 10-00-00"),
          QStringLiteral("2026-05-01_10-00-00/"), QStringLiteral("2026-05-01_10-00-00_0"),
          QStringLiteral("2026-05-01_10-00-00\n"), QStringLiteral("%2e%2e"), QString(),
          QStringLiteral("2026-05-01_10-00-01"), QStringLiteral("2026-05-01_10-00-00_2")}) {
        EXPECT_FALSE(history.open(hostile)) << hostile.toStdString();
    }
    EXPECT_TRUE(RaceHistory::validId("2026-05-01_10-00-00_12"));
    EXPECT_TRUE(history.open("2026-05-01_10-00-00"));
}

TEST(RaceHistory, SeesARaceKeptAfterTheFirstLook) {
    QTemporaryDir temp;
    const QDir dir(temp.path());
    keep(dir, "2026-05-01 10-00-00 kara1.txt", {"00:31:000"});
    RaceHistory history(temp.path());
    ASSERT_EQ(history.races().size(), 1);
    keep(dir, "2026-05-01 10-20-00 kara4.txt", {"00:31:000"});
    // Seen at the next look, or within a second when the folder's time did not move on.
    ASSERT_TRUE(QTest::qWaitFor([&history] { return history.races().size() == 2; }, 5000));
    EXPECT_EQ(history.races()[0].id, "2026-05-01_10-20-00");
}

} // namespace
