// Serial bursts through the real port object into the real race, on real time and real timers.
#include "FakePortBackend.h"
#include "FakeSoundPlayer.h"
#include "PtySerialFixture.h"
#include "RecordingRaceView.h"
#include "SocatPtyPair.h"

#include "base/MonotonicClock.h"
#include "config/TSettings.h"
#include "hardware/SerialSensorInput.h"
#include "hardware/StartLights.h"
#include "hardware/TComPort.h"
#include "hardware/TSmallPort.h"
#include "timing/LapList.h"
#include "timing/LapTime.h"
#include "timing/SerialRaceBinding.h"
#include "timing/TRace.h"
#include "timing/ThdTimer.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

namespace {

constexpr int DeadTimeMs = 600;
// The machine is shared and loaded: a lap may be late by far more than a sampling period.
constexpr qint64 LateMs = 1500;

class SerialRace : public PtySerialFixture {
protected:
    void SetUp() override {
        PtySerialFixture::SetUp();
        if (!ready())
            return;

        settings.PoSpusteni.LPT = false;
        settings.PoSpusteni.COM = true;
        settings.Semafor.Pouzij = false;
        settings.HW.Rizeni = false;
        settings.HW.Prodleva = DeadTimeMs;
        settings.Ostatni.UlozitZavody = false;

        RaceTimers timers;
        for (int k = 0; k < 4; ++k) {
            timers.samplers[k] = &samplers[k];
            timers.deadTimers[k] = &deadTimers[k];
        }
        timers.display = &display;
        timers.hwLog0 = &hwLog0;
        timers.hwLog1 = &hwLog1;
        view.onProcessEvents = [] { QCoreApplication::processEvents(); };
        race = std::make_unique<TRace>(RaceDeps{settings,
                                                parallel,
                                                SteadyClock::instance(),
                                                timers,
                                                {&lists[0], &lists[1], &lists[2], &lists[3]},
                                                sound,
                                                lights,
                                                view,
                                                &comPort,
                                                dataDir.path(),
                                                {}});
        race->setDeadTimeInterval(quint32(settings.HW.Prodleva));
        bindSerialInputToRace(input, *race);
    }
    void TearDown() override {
        if (race && race->running())
            race->Reset_Promenych();
        PtySerialFixture::TearDown();
    }

    bool waitForLaps(int kart, int count) {
        return QTest::qWaitFor([&] { return lists[kart - 1].count() >= count; }, 10000);
    }
    qint64 lap(int kart, int index) const { return ParseLapTime(lists[kart - 1].entry(index)); }

    QTemporaryDir dataDir;
    TSettings settings;
    // Serial sensors only: the parallel port stays quiet.
    TSmallPort parallel{std::make_unique<FakePortBackend>(SteadyClock::instance())};
    std::array<TThreadedTimer, 4> samplers;
    std::array<TThreadedTimer, 4> deadTimers;
    TThreadedTimer display;
    TThreadedTimer hwLog0;
    TThreadedTimer hwLog1;
    std::array<LapList, 4> lists;
    FakeSoundPlayer sound;
    RecordingRaceView view;
    StartLights lights{parallel, view};
    SerialSensorInput input{comPort, settings};
    std::unique_ptr<TRace> race;
};

} // namespace

TEST_F(SerialRace, BurstsBecomeLapsOfTheKartsThatLearnedThem) {
    settings.Com.Sekvence[TSettings::sequenceSlot(2, 1)] = "*Ab"; // bytes 0A 41 C1
    settings.Com.Sekvence[TSettings::sequenceSlot(1, 0)] = "K13";
    settings.Com.Sekvence[TSettings::sequenceSlot(3, 0)] = "K13";

    ASSERT_FALSE(comPort.isOpen());
    QElapsedTimer sinceStart;
    race->StartButton1Click();
    sinceStart.start();
    ASSERT_TRUE(comPort.isOpen()) << "START opens the serial port";

    QTest::qWait(400);
    const qint64 firstSent = sinceStart.elapsed();
    ASSERT_TRUE(pty.send(QByteArray::fromHex("0A41C1")));
    ASSERT_TRUE(waitForLaps(2, 1));
    EXPECT_GE(lap(2, 0), firstSent - 50);
    EXPECT_LE(lap(2, 0), firstSent + LateMs);

    // Inside kart 2's dead time the same burst is no lap.
    ASSERT_TRUE(pty.send(QByteArray::fromHex("0A41C1")));
    QTest::qWait(100);
    EXPECT_EQ(lists[1].count(), 1);

    // After it, the next burst closes the second lap, measured from the first hit.
    ASSERT_TRUE(QTest::qWaitFor([&] { return !race->channel(2).deadTimeRunning(); }, 10000));
    QTest::qWait(100);
    const qint64 secondSent = sinceStart.elapsed();
    ASSERT_TRUE(pty.send(QByteArray::fromHex("0A41C1")));
    ASSERT_TRUE(waitForLaps(2, 2));
    EXPECT_GE(lap(2, 1), secondSent - firstSent - LateMs);
    EXPECT_LE(lap(2, 1), secondSent - firstSent + LateMs);

    // One burst learned by karts 1 and 3 is a lap of both.
    ASSERT_TRUE(pty.send("K13"));
    ASSERT_TRUE(waitForLaps(1, 1));
    ASSERT_TRUE(waitForLaps(3, 1));
    EXPECT_EQ(lists[3].count(), 0);

    race->StartButton1Click();
    EXPECT_FALSE(race->running());
    EXPECT_FALSE(comPort.isOpen()) << "STOP closes the serial port";

    // Serial hits stop until the next START.
    ASSERT_TRUE(pty.send("K13"));
    QTest::qWait(200);
    EXPECT_FALSE(race->channel(1).PendingHit);
    EXPECT_EQ(lists[0].count(), 1);
}
