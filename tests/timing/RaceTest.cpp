#include "VirtualRace.h"

#include "base/UserError.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

constexpr quint8 Red = 0x01;
constexpr quint8 Orange = 0x02;
constexpr quint8 Green = 0x04;

// A race on virtual time with the lights on (Semafor/Prodleva 1 s) and distinct lamp masks.
class RaceTest : public ::testing::Test {
protected:
    RaceTest() : rig(m_dir.path()) {
        rig.settings.Semafor.Cervena = Red;
        rig.settings.Semafor.Oranzova = Orange;
        rig.settings.Semafor.Zelena = Green;
        rig.race->setEndRedMask(Red);
    }

    void start() {
        rig.race->StartButton1Click();
        ASSERT_TRUE(rig.race->running());
        startMs = rig.race->startTick();
    }
    void stop() { rig.race->StartButton1Click(); }
    // Advance to the given race time.
    void runTo(qint64 raceMs) { rig.scheduler.advanceTo(startMs + raceMs); }
    void pass(int kart, qint64 raceMs, qint64 holdMs = 5) { rig.passSensor(kart, startMs + raceMs, holdMs); }

    QTemporaryDir m_dir;
    VirtualRace rig;
    qint64 startMs = 0;
};

QStringList laps(std::initializer_list<const char*> texts) {
    QStringList out;
    for (const char* text : texts)
        out << QString::fromLatin1(text);
    return out;
}

} // namespace

TEST_F(RaceTest, CorrectionIsTakenFromEachLapButNotFromTheNextMark) {
    rig.settings.HW.Chyba[0] = 2000;
    start();
    pass(1, 10000);
    pass(1, 50000);
    pass(1, 90000);
    runTo(95000);
    EXPECT_EQ(rig.laps(1), laps({"00:08:000", "00:38:000", "00:38:000"}));
}

TEST_F(RaceTest, FirstLapIsMeasuredFromGreen) {
    const qint64 before = rig.clock.nowMs();
    start();
    EXPECT_EQ(startMs, before + 2000); // red, 1 s, orange, 1 s, green
    pass(2, 31000);
    runTo(32000);
    EXPECT_EQ(rig.laps(2), laps({"00:31:000"}));
}

TEST_F(RaceTest, FirstLapIsMeasuredFromStartWithoutLights) {
    rig.settings.Semafor.Pouzij = false;
    const qint64 before = rig.clock.nowMs();
    start();
    EXPECT_EQ(startMs, before);
    pass(3, 20001); // the sampler sees it at its next 2 ms tick
    runTo(21000);
    EXPECT_EQ(rig.laps(3), laps({"00:20:002"}));
}

TEST_F(RaceTest, HitDuringDeadTimeIsIgnored) {
    start();
    pass(1, 10000);
    pass(1, 11000); // dead time is 2000 ms
    pass(1, 13000);
    runTo(14000);
    EXPECT_EQ(rig.laps(1), laps({"00:10:000", "00:03:000"}));
}

TEST_F(RaceTest, SensorHeldActiveGivesOneLapPerDeadTimePlusOneSample) {
    start();
    pass(4, 10000, 10000);
    runTo(25000);
    EXPECT_EQ(rig.laps(4), laps({"00:10:000", "00:02:002", "00:02:002", "00:02:002", "00:02:002"}));
}

TEST_F(RaceTest, NegationOnClosesTheLapWhileTheBitReadsOne) {
    rig.settings.HW.Negace = true;
    start();
    pass(1, 5000);
    runTo(6000);
    EXPECT_EQ(rig.laps(1), laps({"00:05:000"}));
    EXPECT_TRUE(rig.laps(2).isEmpty());
}

TEST_F(RaceTest, NegationOffClosesTheLapWhileTheBitReadsZero) {
    rig.settings.HW.Negace = false;
    rig.backend->setStatusAt(0, 0x78); // all four sensors idle (bits high)
    start();
    rig.backend->setStatusAt(startMs + 7000, 0x78 & ~0x10);
    rig.backend->setStatusAt(startMs + 7005, 0x78);
    runTo(8000);
    EXPECT_EQ(rig.laps(2), laps({"00:07:000"}));
    EXPECT_TRUE(rig.laps(1).isEmpty());
    EXPECT_TRUE(rig.laps(3).isEmpty());
}

TEST_F(RaceTest, WithLptOffOnlyTheSerialHitCounts) {
    rig.settings.PoSpusteni.LPT = false;
    rig.settings.HW.Negace = false; // an unread port would look active with negation off
    start();
    const int readsBefore = rig.backend->statusReads();
    pass(1, 3000);
    runTo(4000);
    EXPECT_TRUE(rig.laps(1).isEmpty());
    // The burst's arrival, not the sample that takes it, ends the lap.
    rig.race->channel(2).PendingHitUs = rig.clock.nowUs();
    runTo(4003);
    EXPECT_EQ(rig.laps(2), laps({"00:04:000"}));
    EXPECT_FALSE(rig.race->channel(2).hasPendingHit());
    EXPECT_TRUE(rig.race->channel(2).deadTimeRunning());
    EXPECT_EQ(rig.backend->statusReads(), readsBefore);
}

TEST_F(RaceTest, PendingHitFromBeforeStartDoesNotCloseTheFirstLap) {
    rig.race->channel(3).PendingHitUs = rig.clock.nowUs();
    start();
    EXPECT_FALSE(rig.race->channel(3).hasPendingHit());
    runTo(1000);
    EXPECT_TRUE(rig.laps(3).isEmpty());
}

TEST_F(RaceTest, RaceEndAtTheMinuteFieldWritesRedAndPlaysOnce) {
    rig.settings.Zvuk.Hrat = true;
    rig.settings.HW.Rizeni = false; // no control pulse writes in the way
    rig.view.setRaceMinutes(2);
    start();
    EXPECT_TRUE(rig.sound.isOpen());
    EXPECT_TRUE(rig.sound.fileName().endsWith(QStringLiteral("zvuky/success.wav")));
    rig.backend->clearWrites();
    runTo(119900);
    EXPECT_TRUE(rig.race->endPending());
    EXPECT_TRUE(rig.backend->writes().empty());
    runTo(120300);
    EXPECT_FALSE(rig.race->endPending());
    ASSERT_EQ(rig.backend->writes().size(), 1u);
    EXPECT_EQ(rig.backend->writes()[0].value, Red);
    EXPECT_GE(rig.backend->writes()[0].atMs, startMs + 120000);
    EXPECT_EQ(rig.sound.plays(), 1);
    EXPECT_TRUE(rig.view.lamp(Lamp::Red));
    EXPECT_FALSE(rig.view.lamp(Lamp::Green));
    EXPECT_FALSE(rig.view.lamp(Lamp::Orange));

    pass(1, 150000);
    runTo(190000);
    EXPECT_EQ(rig.laps(1), laps({"02:30:000"}));
    EXPECT_EQ(rig.sound.plays(), 1);
    EXPECT_EQ(rig.backend->writes().size(), 1u);
    EXPECT_TRUE(rig.race->running());
    EXPECT_EQ(rig.view.clockDisplay(ClockDisplay::Minutes), 3);
}

TEST_F(RaceTest, EndRedMaskIsTheOneTakenAtProgramStart) {
    rig.settings.Semafor.Cervena = 0x30; // changed in the settings after start-up
    rig.view.setRaceMinutes(1);
    start();
    EXPECT_EQ(rig.backend->writes().front().value, 0x30); // the start sequence uses it at once
    runTo(60300);
    EXPECT_EQ(rig.backend->data(), Red);
}

TEST_F(RaceTest, LoweringTheRaceTimeDelaysTheEndUntilTheMinuteFieldComesRound) {
    rig.view.setRaceMinutes(10);
    start();
    runTo(7 * 60000);
    rig.view.setRaceMinutes(5);
    runTo(11 * 60000);
    EXPECT_TRUE(rig.race->endPending());
    rig.scheduler.block(startMs + 64 * 60000 + 59000 - rig.clock.nowMs());
    rig.scheduler.advance(300);
    EXPECT_EQ(rig.view.clockDisplay(ClockDisplay::Minutes), 4);
    EXPECT_TRUE(rig.race->endPending());
    runTo(65 * 60000 + 300);
    EXPECT_EQ(rig.view.clockDisplay(ClockDisplay::Minutes), 5);
    EXPECT_FALSE(rig.race->endPending());
}

TEST_F(RaceTest, ClockDisplaysShowMinutesSecondsAndMillis) {
    start();
    runTo(5 * 60000 + 7 * 1000 + 400);
    const qint64 shown = rig.race->clockElapsed();
    EXPECT_EQ(rig.view.clockDisplay(ClockDisplay::Minutes), int(shown / 60000));
    EXPECT_EQ(rig.view.clockDisplay(ClockDisplay::Seconds), int(shown / 1000 % 60));
    EXPECT_EQ(rig.view.clockDisplay(ClockDisplay::Millis), int(shown % 1000));
    EXPECT_GT(shown, 5 * 60000 + 7 * 1000);
}

TEST_F(RaceTest, StopRemovesFirstLapThenShortOnesAfterCountingThemAll) {
    rig.settings.Ostatni.PrvniKolo = true;
    rig.settings.HW.Mazat = true;
    rig.settings.HW.MazatCas = 30;
    qint64 driven = 0;
    rig.race->hooks().addDriven = [&](int kart, qint64 seconds) {
        if (kart == 1)
            driven += seconds;
    };
    start();
    for (qint64 at : {8000, 53000, 73000, 103000, 153000})
        pass(1, at);
    runTo(160000);
    ASSERT_EQ(rig.laps(1), laps({"00:08:000", "00:45:000", "00:20:000", "00:30:000", "00:50:000"}));
    stop();
    EXPECT_EQ(driven, 153); // 8 + 45 + 20 + 30 + 50 s
    // The 20 s lap ended at no real pass: it and the 30 s lap after it are one lap of 50 s.
    EXPECT_EQ(rig.laps(1), laps({"00:45:000", "00:50:000", "00:50:000"}));
}

TEST_F(RaceTest, EngineTimeTruncatesEachLapToWholeSeconds) {
    qint64 driven = -1;
    rig.race->hooks().addDriven = [&](int kart, qint64 seconds) {
        if (kart == 2)
            driven = seconds;
    };
    rig.lists[1]->setEntries(laps({"00:59:999", "00:59:999", "00:00:999"}));
    rig.race->AccountEngineTime();
    EXPECT_EQ(driven, 118); // 59 + 59 + 0 s, not 120.997 s
}

TEST_F(RaceTest, StopRunsItsStepsInOrder) {
    QStringList calls;
    RaceHooks& hooks = rig.race->hooks();
    hooks.addDriven = [&](int kart, qint64) { calls << QStringLiteral("engine%1").arg(kart); };
    hooks.UpdateFuelFigures = [&] { calls << QStringLiteral("fuel"); };
    hooks.CheckFuel = [&] { calls << QStringLiteral("checkFuel"); };
    hooks.kartStateOk = [&] { calls << QStringLiteral("ok"); };
    hooks.showRemindersIfAny = [&] { calls << QStringLiteral("reminders"); };
    hooks.TopTenDeset = [&] { calls << QStringLiteral("topTen"); };
    rig.settings.PoSpusteni.COM = true;
    rig.settings.Ostatni.ExtStart = true;
    start();
    EXPECT_TRUE(rig.serial.isOpen());
    EXPECT_EQ(rig.view.logOf(QStringLiteral("button")),
              QStringList({QStringLiteral("button Sta&v kár off"), QStringLiteral("button &Statistika off"),
                           QStringLiteral("button &Tisk off"),
                           QStringLiteral("button &Nejlepších dvacet časů off")}));
    rig.extStart->setEnabled(false);
    rig.view.clearLog();
    stop();
    EXPECT_FALSE(rig.serial.isOpen());
    EXPECT_EQ(calls,
              QStringList({QStringLiteral("engine1"), QStringLiteral("engine2"), QStringLiteral("engine3"),
                           QStringLiteral("engine4"), QStringLiteral("fuel"), QStringLiteral("checkFuel"),
                           QStringLiteral("ok"), QStringLiteral("reminders"), QStringLiteral("topTen")}));
    const QStringList log = rig.view.log();
    const qsizetype tail = log.indexOf(QStringLiteral("button Sta&v kár on"));
    ASSERT_GE(tail, 0);
    EXPECT_EQ(log.mid(tail),
              QStringList({QStringLiteral("button Sta&v kár on"), QStringLiteral("button &Statistika on"),
                           QStringLiteral("caption START"), QStringLiteral("button &Tisk on"),
                           QStringLiteral("button &Nejlepších dvacet časů on")}));
    EXPECT_TRUE(rig.extStart->enabled());
    EXPECT_FALSE(rig.view.running());

    // Without the button in use, its watch is not worth sampling.
    rig.settings.Ostatni.ExtStart = false;
    rig.extStart->setEnabled(false);
    start();
    stop();
    EXPECT_FALSE(rig.extStart->enabled());
}

TEST_F(RaceTest, StopPutsEveryTimerAtRestAndLeavesThePhysicalLampsGreen) {
    start();
    pass(1, 1000);
    runTo(1500);
    ASSERT_TRUE(rig.race->channel(1).deadTimeRunning());
    stop();
    for (int k = 0; k < 4; ++k) {
        EXPECT_FALSE(rig.samplers[k]->enabled());
        EXPECT_FALSE(rig.deadTimers[k]->enabled());
    }
    EXPECT_FALSE(rig.display->enabled());
    EXPECT_EQ(rig.race->channel(1).LastMarkUs, 0);
    EXPECT_EQ(rig.view.clockDisplay(ClockDisplay::Seconds), 0);
    EXPECT_EQ(rig.backend->data(), Green);
    EXPECT_TRUE(rig.view.lamp(Lamp::Red));
    EXPECT_FALSE(rig.view.lamp(Lamp::Green));
    runTo(30000);
    EXPECT_EQ(rig.laps(1), laps({"00:01:000"}));
}

TEST_F(RaceTest, SecondRaceMeasuresItsFirstLapFromItsOwnStart) {
    start();
    pass(1, 12000);
    runTo(20000);
    stop();
    rig.scheduler.advance(5000);
    start();
    EXPECT_TRUE(rig.laps(1).isEmpty());
    pass(1, 9000);
    runTo(10000);
    stop();
    rig.scheduler.advance(1000);
    start();
    pass(1, 4000);
    runTo(5000);
    EXPECT_EQ(rig.laps(1), laps({"00:04:000"}));
}

TEST_F(RaceTest, AStrayLineIsLeftOutOfTheAccountingAndTheStopCompletes) {
    QStringList engineSet;
    rig.race->hooks().addDriven = [&](int kart, qint64 seconds) {
        engineSet << QStringLiteral("%1 %2").arg(kart).arg(seconds);
    };
    bool topTen = false;
    rig.race->hooks().TopTenDeset = [&] { topTen = true; };
    rig.settings.HW.Mazat = true;
    rig.settings.HW.MazatCas = 10;
    start();
    pass(2, 90000);
    runTo(91000);
    const QString note = QStringLiteral("poznámka");
    rig.lists[1]->setEntries({QStringLiteral("01:30:000"), note, QStringLiteral("00:05:000")});
    stop();
    EXPECT_FALSE(rig.race->running());
    EXPECT_FALSE(rig.samplers[1]->enabled());
    EXPECT_EQ(engineSet, QStringList({QStringLiteral("1 0"), QStringLiteral("2 95"), QStringLiteral("3 0"),
                                      QStringLiteral("4 0")}));
    EXPECT_TRUE(topTen);
    for (RaceButton button :
         {RaceButton::StavKar, RaceButton::Statistika, RaceButton::Tisk, RaceButton::TopTen})
        EXPECT_TRUE(rig.view.buttonEnabled(button));
    // The short-lap filter passes over the stray line; the race's measured lap is kept.
    EXPECT_EQ(rig.laps(2), QStringList({QStringLiteral("01:30:000"), note}));
    EXPECT_TRUE(QFile::exists(m_dir.filePath(QStringLiteral("vysledky/2026-12-09 14-05-33 kara2.txt"))));
    ASSERT_EQ(rig.view.errors().size(), 1);
    EXPECT_TRUE(rig.view.errors().at(0).contains(QStringLiteral("kára 2: \u201epoznámka\u201c")))
        << rig.view.errors().at(0).toUtf8().constData();
}

TEST_F(RaceTest, AMissingEndSoundIsSaidBeforeTheLightsAndTheRaceIsTimedWithoutIt) {
    rig.settings.Zvuk.Hrat = true;
    rig.sound.failOnOpen = true;
    rig.view.setRaceMinutes(1);
    rig.race->StartButton1Click();
    ASSERT_EQ(rig.view.errors().size(), 1);
    // Said before the light sequence: the error precedes the first lamp.
    const QStringList log = rig.view.log();
    const auto firstOf = [&](const QString& prefix) {
        for (int i = 0; i < log.size(); ++i)
            if (log.at(i).startsWith(prefix))
                return i;
        return int(log.size());
    };
    EXPECT_LT(firstOf(QStringLiteral("error")), firstOf(QStringLiteral("lamp ")));
    ASSERT_TRUE(rig.race->running());
    startMs = rig.race->startTick();
    pass(1, 30000);
    runTo(61000);
    EXPECT_EQ(rig.laps(1), laps({"00:30:000"}));
    EXPECT_FALSE(rig.race->endPending());
    EXPECT_TRUE(rig.view.lamp(Lamp::Red)); // the end is still shown
    EXPECT_EQ(rig.sound.plays(), 0);
    EXPECT_EQ(rig.view.errors().size(), 1);
}

TEST_F(RaceTest, ASerialPortThatCannotOpenLeavesTheRaceAtRest) {
    rig.settings.PoSpusteni.COM = true;
    rig.serial.failOnOpen = true;
    rig.lists[0]->setEntries(laps({"00:40:000"}));
    rig.backend->clearWrites();
    rig.race->StartButton1Click();
    EXPECT_FALSE(rig.race->running());
    EXPECT_FALSE(rig.view.running());
    EXPECT_TRUE(rig.view.lamp(Lamp::Red));
    EXPECT_TRUE(rig.backend->writes().empty()) << "no light sequence";
    EXPECT_EQ(rig.view.errors().size(), 1);
    EXPECT_TRUE(rig.view.buttonEnabled(RaceButton::Tisk));
    EXPECT_EQ(rig.laps(1), laps({"00:40:000"})) << "the last race's laps stay";
    for (int k = 0; k < 4; ++k)
        EXPECT_FALSE(rig.samplers[k]->enabled());
}

TEST_F(RaceTest, StopNestedInALapDoesNotRearmTheChannel) {
    start();
    bool stopped = false;
    rig.view.onProcessEvents = [&] {
        if (!stopped && rig.race->running() && rig.lists[0]->count() == 1) {
            stopped = true;
            rig.race->stop();
        }
    };
    pass(1, 3000);
    runTo(3001);
    ASSERT_TRUE(stopped);
    EXPECT_FALSE(rig.race->channel(1).deadTimeRunning());
    pass(1, 8000);
    runTo(10000);
    EXPECT_FALSE(rig.samplers[0]->enabled());
    EXPECT_EQ(rig.laps(1), laps({"00:03:000"}));
}

// The audience's race list follows the lap lists; the race gives the window only its clock.
TEST_F(RaceTest, AudienceWindowGetsTheClockAndANegativeLapIsListedAsZero) {
    rig.settings.TVOUT.Pouzit = true;
    rig.settings.HW.Chyba[1] = 60000;
    int clockCalls = 0;
    rig.race->hooks().audienceClock = [&](int, int, int) { ++clockCalls; };
    start();
    pass(2, 40000);
    pass(2, 90000);
    runTo(91000);
    EXPECT_EQ(rig.laps(2), laps({"00:00:000", "00:00:000"}));
    EXPECT_GT(clockCalls, 300);
}

TEST_F(RaceTest, ClearingTheListDuringARaceKeepsTheMark) {
    start();
    pass(1, 10000);
    runTo(11000);
    rig.lists[0]->clear();
    pass(1, 30000);
    runTo(31000);
    EXPECT_EQ(rig.laps(1), laps({"00:20:000"}));
}

// Every race is kept in "vysledky" as it was measured, before the filters and the operator's edits.
TEST_F(RaceTest, KeptFilesHoldTheLapsAsMeasured) {
    rig.settings.Ostatni.PrvniKolo = true;
    QStringList atReminders;
    rig.race->hooks().showRemindersIfAny = [&] {
        atReminders = QDir(m_dir.filePath(QStringLiteral("vysledky"))).entryList(QDir::Files);
    };
    start();
    pass(1, 10000);
    pass(1, 50000);
    pass(3, 20000);
    runTo(51000);
    rig.lists[0]->setEntries(laps({"00:01:000"})); // the operator loads another file
    stop();
    QFile file(m_dir.filePath(QStringLiteral("vysledky/2026-12-09 14-05-33 kara1.txt")));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), QByteArray("00:10:000\r\n00:40:000\r\n"));
    // The journal stays until the end's last step: a crash at the reminders still has the race.
    EXPECT_EQ(atReminders, QStringList({QStringLiteral("2026-12-09 14-05-33 kara1.txt"),
                                        QStringLiteral("2026-12-09 14-05-33 kara3.txt"),
                                        QStringLiteral("probihajici zavod.txt")}));
    EXPECT_TRUE(rig.laps(3).isEmpty()) << "the list still loses its first lap";
    EXPECT_TRUE(rig.view.errors().isEmpty());
}

TEST_F(RaceTest, AKeptFileNeverReplacesAnother) {
    for (int race = 0; race < 3; ++race) { // the same second each time, as with a clock set back
        start();
        pass(1, 10000 + race);
        runTo(11000);
        stop();
    }
    QFile third(m_dir.filePath(QStringLiteral("vysledky/2026-12-09 14-05-33 kara1 (3).txt")));
    ASSERT_TRUE(third.open(QIODevice::ReadOnly));
    EXPECT_EQ(third.readAll(), QByteArray("00:10:002\r\n"));
    EXPECT_EQ(QDir(m_dir.filePath(QStringLiteral("vysledky"))).entryList(QDir::Files).size(), 3);
}

TEST_F(RaceTest, ClosingTheProgramKeepsARunningRaceWithoutAccountingIt) {
    int accounted = 0;
    rig.race->hooks().addDriven = [&](int, qint64) { ++accounted; };
    start();
    pass(2, 10000);
    runTo(11000);
    rig.race->closeProgram();
    EXPECT_FALSE(rig.race->running());
    EXPECT_EQ(accounted, 0);
    EXPECT_TRUE(QFile::exists(m_dir.filePath(QStringLiteral("vysledky/2026-12-09 14-05-33 kara2.txt"))));
    rig.race->closeProgram(); // at rest: nothing more is kept
    EXPECT_EQ(QDir(m_dir.filePath(QStringLiteral("vysledky"))).entryList(QDir::Files).size(), 1);
}

TEST_F(RaceTest, NoLapFilesWhenKeepingIsOff) {
    rig.settings.Ostatni.UlozitZavody = false;
    start();
    pass(1, 10000);
    runTo(11000);
    stop();
    EXPECT_TRUE(QDir(m_dir.filePath(QStringLiteral("vysledky"))).entryList(QDir::Files).isEmpty());
}

TEST_F(RaceTest, FailingLapFileIsReportedAndTheStopCompletes) {
    QFile blocker(m_dir.filePath(QStringLiteral("vysledky")));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly)); // a file where the folder should be
    blocker.close();
    bool topTen = false;
    rig.race->hooks().TopTenDeset = [&] { topTen = true; };
    start();
    pass(1, 10000);
    pass(2, 12000);
    runTo(13000);
    stop();
    // The journal cannot be made either: said once at the start, and the race is timed without it.
    ASSERT_EQ(rig.view.errors().size(), 3);
    EXPECT_TRUE(rig.view.errors().at(0).startsWith(QStringLiteral("Deník závodu nelze založit")));
    EXPECT_TRUE(rig.view.errors().at(1).startsWith(QStringLiteral("Soubor „")));
    EXPECT_TRUE(rig.view.errors().at(1).contains(QStringLiteral("kara1.txt")));
    EXPECT_TRUE(topTen);
    EXPECT_TRUE(rig.view.buttonEnabled(RaceButton::TopTen));
    EXPECT_EQ(rig.laps(1), laps({"00:10:000"}));
}

TEST_F(RaceTest, RaceAcrossA32BitTickWrapIsTimedRight) {
    rig.clock.setNowMs((qint64(1) << 32) - 10000); // a 32-bit tick counter would wrap 10 s from now
    rig.settings.Semafor.Pouzij = false;
    start();
    pass(1, 45000);
    runTo(46000);
    EXPECT_EQ(rig.laps(1), laps({"00:45:000"}));
}

TEST_F(RaceTest, RaceLengthGoesToTheAudienceWindowOnlyWhenItIsUsed) {
    QList<int> shown;
    rig.race->hooks().audienceRaceLength = [&](int minutes) { shown << minutes; };
    rig.race->CasZavoduChange(12);
    rig.settings.TVOUT.Pouzit = true;
    rig.race->CasZavoduChange(15);
    EXPECT_EQ(shown, QList<int>({15}));
}

TEST_F(RaceTest, EmptyHooksDoNothing) {
    rig.settings.TVOUT.Pouzit = true;
    start();
    pass(1, 5000);
    runTo(10000);
    stop();
    EXPECT_EQ(rig.laps(1), laps({"00:05:000"}));
    EXPECT_FALSE(rig.race->running());
}

TEST_F(RaceTest, LapFilesGoIntoTheFolderWhateverItsLetterCase) {
    ASSERT_TRUE(QDir(m_dir.path()).mkdir(QStringLiteral("Vysledky")));
    start();
    pass(2, 10000);
    runTo(11000);
    stop();
    EXPECT_EQ(QDir(m_dir.filePath(QStringLiteral("Vysledky"))).entryList(QDir::Files),
              QStringList({QStringLiteral("2026-12-09 14-05-33 kara2.txt")}));
    EXPECT_FALSE(QDir(m_dir.filePath(QStringLiteral("vysledky"))).exists());
}

TEST_F(RaceTest, LateSamplesAreCountedForTheOperator) {
    start();
    pass(1, 5000);
    runTo(20000);
    EXPECT_EQ(rig.view.lateSamples(), 0) << "a lap and its dead time are no late samples";
    // The main thread is held up for longer than half a sensor pulse.
    rig.scheduler.block(TRace::LateSampleMs + 10);
    runTo(21000);
    EXPECT_EQ(rig.view.lateSamples(), 4); // each kart's sampler once
    stop();
    rig.scheduler.advance(60000);
    start();
    runTo(1000);
    EXPECT_EQ(rig.view.lateSamples(), 4) << "the pause between races is no late sample";
}

TEST_F(RaceTest, StopGoesOnWhenTheBestTwentyTablesFail) {
    bool remindersShown = false;
    rig.race->hooks().showRemindersIfAny = [&] { remindersShown = true; };
    rig.race->hooks().TopTenDeset = [] {
        throw UserError(QStringLiteral("Cannot open file \"TopDeset.ini\"."));
    };
    start();
    stop();
    EXPECT_TRUE(remindersShown);
    EXPECT_FALSE(rig.race->running());
    EXPECT_EQ(rig.view.errors(), QStringList({QStringLiteral("Cannot open file \"TopDeset.ini\".")}));
    const QStringList log = rig.view.log();
    EXPECT_TRUE(log.contains(QStringLiteral("button &Nejlepších dvacet časů on")));
    EXPECT_TRUE(log.contains(QStringLiteral("button Sta&v kár on")));
}

TEST_F(RaceTest, LapsAddUpToTheRaceTimeOfTheLastHit) {
    // Hits 5000.4 ms apart: each lap is its hit's race time less the previous one's, both rounded,
    // so no lap's rounding is lost from the total.
    rig.settings.PoSpusteni.LPT = false;
    start();
    for (int i = 1; i <= 5; ++i) {
        runTo(i * 5000 + 3);
        rig.race->channel(1).PendingHitUs = rig.race->startUs() + i * 5'000'400;
        runTo(i * 5000 + 6);
    }
    ASSERT_EQ(rig.laps(1), laps({"00:05:000", "00:05:001", "00:05:000", "00:05:001", "00:05:000"}));
}
