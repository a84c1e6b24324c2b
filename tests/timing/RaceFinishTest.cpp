#include "VirtualRace.h"

#include "timing/DriverNames.h"
#include "timing/LapTime.h"

#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

// A two-minute race without lights that ends with the flag (`Zavod/Dojeti`), on virtual time. The
// dead time is 2 s.
class RaceFinishTest : public ::testing::Test {
protected:
    RaceFinishTest() : rig(m_dir.path()) {
        rig.settings.Semafor.Pouzij = false;
        rig.settings.Zavod.Dojeti = true;
        rig.settings.Zavod.Limit = 120;
        rig.view.setRaceMinutes(2);
        rig.race->setDeadTimeInterval(2000);
        rig.race->hooks().stoppedByItself = [this] { ++stoppedByItself; };
        rig.race->hooks().chequeredFlag = [this](bool shown) { flags << shown; };
    }
    void start() {
        rig.race->StartButton1Click();
        ASSERT_TRUE(rig.race->running());
        startMs = rig.race->startTick();
    }
    void runTo(qint64 raceMs) { rig.scheduler.advanceTo(startMs + raceMs); }
    void pass(int kart, qint64 raceMs, qint64 holdMs = 5) { rig.passSensor(kart, startMs + raceMs, holdMs); }

    QTemporaryDir m_dir;
    VirtualRace rig;
    qint64 startMs = 0;
    int stoppedByItself = 0;
    QList<bool> flags;
};

} // namespace

TEST_F(RaceFinishTest, EachKartsNextPassIsItsLastAndTheRaceStopsWhenAllAreIn) {
    start();
    for (qint64 t = 40000; t <= 120000; t += 40000)
        pass(1, t - 100); // kart 1's third pass falls just before the flag
    pass(2, 50000);
    pass(2, 100000);
    runTo(121000);
    EXPECT_TRUE(rig.race->flagShown());
    EXPECT_EQ(flags, QList<bool>{true});
    EXPECT_EQ(rig.laps(1).size(), 3) << "a pass stamped before the flag is an ordinary lap";
    EXPECT_FALSE(rig.race->finished(1));

    pass(2, 140000); // kart 2 finishes
    pass(2, 150000); // and does not count again
    runTo(155000);
    EXPECT_TRUE(rig.race->running()) << "kart 1 is still on its last lap";
    EXPECT_TRUE(rig.race->finished(2));
    pass(1, 160000);
    runTo(160300);
    EXPECT_FALSE(rig.race->running());
    EXPECT_EQ(stoppedByItself, 1);
    EXPECT_EQ(flags, (QList<bool>{true, false}));
    EXPECT_EQ(rig.laps(1).size(), 4);
    EXPECT_EQ(rig.laps(2).size(), 3);
    EXPECT_EQ(rig.laps(2).last(), QStringLiteral("00:40:000"));
}

TEST_F(RaceFinishTest, AKartThatNeverPassesAgainIsStoppedByTheLimit) {
    rig.settings.Zavod.Limit = 30;
    start();
    pass(1, 60000);
    pass(2, 60000);
    pass(1, 130000); // kart 2 stays out
    runTo(149000);
    EXPECT_TRUE(rig.race->running());
    runTo(151000); // the flag fell at the first display tick after two minutes
    EXPECT_FALSE(rig.race->running());
    EXPECT_EQ(stoppedByItself, 1);
    EXPECT_EQ(rig.laps(1).size(), 2);
}

TEST_F(RaceFinishTest, StopByHandDuringTheFlagStopsAsEver) {
    start();
    pass(1, 60000);
    runTo(121000);
    ASSERT_TRUE(rig.race->flagShown());
    rig.race->StartButton1Click();
    EXPECT_FALSE(rig.race->running());
    EXPECT_FALSE(rig.race->flagShown());
    EXPECT_EQ(stoppedByItself, 0);
    EXPECT_EQ(flags, (QList<bool>{true, false}));
    runTo(400000);
    EXPECT_EQ(stoppedByItself, 0) << "no later tick stops it again";
}

TEST_F(RaceFinishTest, ABounceInsideTheDeadTimeIsNoFinish) {
    start();
    pass(1, 119500);
    pass(1, 120600); // the same pass bouncing after the flag, inside the dead time
    runTo(125000);
    EXPECT_TRUE(rig.race->flagShown());
    EXPECT_FALSE(rig.race->finished(1));
    EXPECT_TRUE(rig.race->running());
    pass(1, 160000);
    runTo(160300);
    EXPECT_FALSE(rig.race->running());
    EXPECT_EQ(rig.laps(1), QStringList({QStringLiteral("01:59:500"), QStringLiteral("00:40:500")}));
}

TEST_F(RaceFinishTest, WithoutTheChoiceTheRaceRunsOnUntilStop) {
    rig.settings.Zavod.Dojeti = false;
    start();
    pass(1, 60000);
    pass(1, 130000);
    pass(1, 170000);
    runTo(400000);
    EXPECT_TRUE(rig.race->running());
    EXPECT_FALSE(rig.race->flagShown());
    EXPECT_TRUE(flags.isEmpty());
    EXPECT_EQ(rig.laps(1).size(), 3);
}

TEST_F(RaceFinishTest, NamesAreKeptBesideTheLapsAndClearedAtTheNextStartOnlyWhenLeftOver) {
    DriverNames& names = rig.station->driverNames();
    names.setName(1, QStringLiteral("  Jiří Čermák "));
    names.setName(3, QStringLiteral("Eva"));
    start();
    pass(1, 60000);
    pass(1, 130000);
    runTo(130300);
    ASSERT_FALSE(rig.race->running());
    const QString kept = m_dir.filePath(QStringLiteral("vysledky/2026-12-09 14-05-33 jezdci.txt"));
    EXPECT_EQ(
        DriverNames::keptFileBeside(m_dir.filePath(QStringLiteral("vysledky/2026-12-09 14-05-33 kara1.txt"))),
        kept);
    QFile file(kept);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), QByteArray("Ji\xf8\xed \xc8"
                                         "erm\xe1k\r\n\r\nEva\r\n\r\n"));
    EXPECT_EQ(DriverNames::keptNamesIn(m_dir.filePath(QStringLiteral("vysledky"))),
              QStringList({QStringLiteral("Eva"), QStringLiteral("Jiří Čermák")}));

    names.setName(3, QStringLiteral("Eva")); // given again for the next race
    start();
    EXPECT_EQ(names.name(1), QString());
    EXPECT_EQ(names.shownName(1), QStringLiteral("kara1"));
    EXPECT_EQ(names.name(3), QStringLiteral("Eva"));
}

// The call-outs hear of a lap once it is shown, with its pass instant; of the last minute's start and
// of the race time's end once each.
TEST_F(RaceFinishTest, CalloutHooksFollowTheShownLapsAndTheRaceClock) {
    QStringList shownAtCall;
    QList<qint64> passes;
    QList<int> minutes;
    int ended = 0;
    rig.race->hooks().lapClosed = [&](int kart, qint64 lapMs, qint64 hitUs) {
        shownAtCall << (rig.laps(kart).isEmpty() ? QString() : rig.laps(kart).last());
        EXPECT_EQ(FormatLapTime(lapMs), rig.laps(kart).last());
        passes << hitUs / 1000 - startMs;
    };
    rig.race->hooks().raceMinute = [&](int minute, int raceMinutes) {
        EXPECT_EQ(raceMinutes, 2);
        minutes << minute;
    };
    rig.race->hooks().raceTimeEnded = [&] { ++ended; };
    start();
    pass(2, 31240);
    pass(2, 93590);
    runTo(125000);
    EXPECT_EQ(shownAtCall, (QStringList{QStringLiteral("00:31:240"), QStringLiteral("01:02:350")}));
    EXPECT_EQ(passes, (QList<qint64>{31240, 93590}));
    EXPECT_EQ(minutes, (QList<int>{1, 2}));
    EXPECT_EQ(ended, 1);
}
