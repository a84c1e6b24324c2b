// Serial bursts through the real serial port object into the race, wired as the station wires them,
// with the race on virtual time: a burst's lap closes at the race's next sample after it arrived.
#include "FakeClock.h"
#include "FakePortBackend.h"
#include "FakeSoundPlayer.h"
#include "RecordingRaceView.h"
#include "SocatPtyPair.h"
#include "VirtualScheduler.h"
#include "VirtualTimerFactory.h"

#include "config/TSettings.h"
#include "hardware/SerialSensorInput.h"
#include "hardware/TComPort.h"
#include "timing/LapList.h"
#include "timing/LapTime.h"
#include "timing/Station.h"
#include "timing/TRace.h"

#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

namespace {

constexpr int DeadTimeMs = 600;

class SerialRace : public ::testing::Test {
protected:
    void SetUp() override {
        if (!SocatPtyPair::socatAvailable())
            GTEST_SKIP() << "socat is not installed";
        QString why;
        ASSERT_TRUE(pty.start(&why)) << why.toStdString();

        settings.PoSpusteni.LPT = false;
        settings.PoSpusteni.COM = true;
        settings.Semafor.Pouzij = false;
        settings.HW.Rizeni = false;
        settings.HW.Prodleva = DeadTimeMs;
        settings.Ostatni.UlozitZavody = false;
        station = std::make_unique<Station>(StationDeps{settings, QString(),
                                                        std::make_unique<FakePortBackend>(clock), clock,
                                                        timers, sound, view, [this](int ms) {
                                                            if (duringLights)
                                                                duringLights();
                                                            scheduler.block(ms);
                                                        }});
        SerialParameters parameters;
        parameters.Port = pty.portA();
        station->comPort().setParameters(parameters);
        station->applyStartupSettings();
    }
    void TearDown() override { station.reset(); }

    // Sends a burst as the device does and waits until the station has received it.
    void send(const QByteArray& burst) {
        QSignalSpy received(&station->serialInput(), &SerialSensorInput::received);
        ASSERT_TRUE(pty.send(burst));
        ASSERT_TRUE(received.wait(10000)) << "the burst did not arrive";
    }
    // Waits until the station has read, or thrown away, everything that waits at the port.
    bool waitUntilTaken() {
        return QTest::qWaitFor([&] { return pty.bytesWaitingAtA() == 0; }, 10000);
    }
    // Waits until the station has handed kart a hit.
    bool waitForHit(int kart) {
        return QTest::qWaitFor([&] { return station->race().channel(kart).hasPendingHit(); }, 10000);
    }
    qint64 lap(int kart, int index) { return ParseLapTime(station->lapList(kart).entry(index)); }
    int laps(int kart) { return station->lapList(kart).count(); }
    // Once the race has taken its start, kart 2's burst is a lap; kart 1's earlier burst is none.
    void expectOnlyKart2Laps(const char* why) {
        ASSERT_TRUE(waitUntilTaken());
        scheduler.advance(300);
        ASSERT_TRUE(pty.send("K2"));
        ASSERT_TRUE(waitForHit(2));
        scheduler.advance(TRace::SamplerIntervalMs);
        EXPECT_EQ(laps(1), 0) << why;
        EXPECT_EQ(laps(2), 1);
    }

    SocatPtyPair pty;
    FakeClock clock;
    VirtualScheduler scheduler{clock};
    VirtualTimerFactory timers{scheduler};
    TSettings settings;
    FakeSoundPlayer sound;
    RecordingRaceView view;
    // Runs while the start lights hold the main thread.
    std::function<void()> duringLights;
    std::unique_ptr<Station> station;
};

} // namespace

TEST_F(SerialRace, BurstsBecomeLapsOfTheKartsThatLearnedThem) {
    settings.Com.Sekvence[TSettings::sequenceSlot(2, 1)] = "*Ab"; // bytes 0A 41 C1
    settings.Com.Sekvence[TSettings::sequenceSlot(1, 0)] = "K13";
    settings.Com.Sekvence[TSettings::sequenceSlot(3, 0)] = "K13";
    TRace& race = station->race();

    ASSERT_FALSE(station->comPort().isOpen());
    race.StartButton1Click();
    ASSERT_TRUE(station->comPort().isOpen()) << "START opens the serial port";

    scheduler.advance(400);
    send(QByteArray::fromHex("0A41C1"));
    scheduler.advance(TRace::SamplerIntervalMs);
    ASSERT_EQ(laps(2), 1);
    EXPECT_GE(lap(2, 0), 400);
    EXPECT_LE(lap(2, 0), 400 + TRace::SamplerIntervalMs);

    // Inside kart 2's dead time the same burst is no lap.
    scheduler.advance(100);
    send(QByteArray::fromHex("0A41C1"));
    scheduler.advance(TRace::SamplerIntervalMs);
    EXPECT_EQ(laps(2), 1);
    EXPECT_FALSE(race.channel(2).hasPendingHit());

    // After it, the next burst closes the second lap, measured from the first hit.
    scheduler.advance(DeadTimeMs);
    ASSERT_FALSE(race.channel(2).deadTimeRunning());
    const qint64 firstHit = race.startTick() + lap(2, 0);
    const qint64 sentAt = clock.nowMs();
    send(QByteArray::fromHex("0A41C1"));
    scheduler.advance(TRace::SamplerIntervalMs);
    ASSERT_EQ(laps(2), 2);
    // Virtual time stands still while the burst travels: it is timed at its arrival, to the
    // millisecond, not at the sample that takes it.
    EXPECT_EQ(lap(2, 1), sentAt - firstHit);

    // One burst learned by karts 1 and 3 is a lap of both.
    send("K13");
    scheduler.advance(TRace::SamplerIntervalMs);
    EXPECT_EQ(laps(1), 1);
    EXPECT_EQ(laps(3), 1);
    EXPECT_EQ(laps(4), 0);

    race.StartButton1Click();
    EXPECT_FALSE(race.running());
    EXPECT_FALSE(station->comPort().isOpen()) << "STOP closes the serial port";
}

TEST_F(SerialRace, ABurstIsTimedAtItsArrivalHoweverLateTheMainThreadTakesIt) {
    settings.Com.Sekvence[TSettings::sequenceSlot(1, 0)] = "K1";
    station->race().StartButton1Click();
    scheduler.advance(500);

    // The burst arrives while the main thread is held (a repaint, another lap) for 30 ms.
    const qint64 arrivedAt = clock.nowMs();
    const quint64 before = station->comPort().bytesArrived();
    ASSERT_TRUE(pty.send("K1"));
    ASSERT_TRUE(SocatPtyPair::waitFor([&] { return station->comPort().bytesArrived() >= before + 2; }));
    clock.advance(30);
    ASSERT_TRUE(waitForHit(1));
    scheduler.advance(TRace::SamplerIntervalMs);
    ASSERT_EQ(laps(1), 1);
    EXPECT_EQ(lap(1, 0), arrivedAt - station->race().startTick());
}

TEST_F(SerialRace, ABurstSentWhileThePortWasClosedIsNoLapOfTheNextRace) {
    settings.Com.Sekvence[TSettings::sequenceSlot(1, 0)] = "K1";
    settings.Com.Sekvence[TSettings::sequenceSlot(2, 0)] = "K2";
    TRace& race = station->race();
    ASSERT_FALSE(station->comPort().isOpen());
    // The terminal keeps what the device sent while nobody listened.
    ASSERT_TRUE(pty.watchPortA());
    ASSERT_TRUE(pty.send("K1"));
    ASSERT_TRUE(pty.waitForBytesAtA(2));

    race.StartButton1Click();
    expectOnlyKart2Laps("a burst from before the start made a lap");
}

TEST_F(SerialRace, ABurstThatArrivesDuringTheStartLightsIsNoLap) {
    settings.Semafor.Pouzij = true;
    settings.Semafor.Prodleva = 1;
    settings.Com.Sekvence[TSettings::sequenceSlot(1, 0)] = "K1";
    settings.Com.Sekvence[TSettings::sequenceSlot(2, 0)] = "K2";
    TRace& race = station->race();
    ASSERT_TRUE(pty.watchPortA());
    bool sent = false;
    // The lights hold the main thread: the burst is read, and waits for it.
    duringLights = [&] {
        if (sent)
            return;
        const quint64 before = station->comPort().bytesArrived();
        sent = pty.send("K1") &&
               SocatPtyPair::waitFor([&] { return station->comPort().bytesArrived() >= before + 2; });
    };

    race.StartButton1Click();
    ASSERT_TRUE(sent);
    ASSERT_TRUE(station->comPort().isOpen());
    expectOnlyKart2Laps("a burst from before the green light made a lap");
}

TEST_F(SerialRace, ADeviceLostDuringARaceIsOpenedAgainWhenItIsBackAndTheRaceGoesOn) {
    settings.Com.Sekvence[TSettings::sequenceSlot(1, 0)] = "K1";
    TRace& race = station->race();
    TComPort& port = station->comPort();
    race.StartButton1Click();
    scheduler.advance(300);
    send("K1");
    scheduler.advance(TRace::SamplerIntervalMs);
    ASSERT_EQ(laps(1), 1);

    pty.stop();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !port.isOpen(); }, 10000));
    EXPECT_TRUE(race.running());
    scheduler.advance(1000);
    EXPECT_FALSE(port.isOpen()) << "the device is not back yet";

    QString why;
    ASSERT_TRUE(pty.start(&why)) << why.toStdString();
    ASSERT_TRUE(scheduler.advanceUntil([&] { return port.isOpen(); }, 1000));
    EXPECT_TRUE(race.running());
    scheduler.advance(DeadTimeMs);
    send("K1");
    scheduler.advance(TRace::SamplerIntervalMs);
    EXPECT_EQ(laps(1), 2) << "a pass after the device came back";
}

TEST_F(SerialRace, ALostDeviceIsNotOpenedAgainAfterTheRace) {
    TRace& race = station->race();
    TComPort& port = station->comPort();
    race.StartButton1Click();
    pty.stop();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !port.isOpen(); }, 10000));
    race.StartButton1Click();
    ASSERT_FALSE(race.running());
    QString why;
    ASSERT_TRUE(pty.start(&why)) << why.toStdString();
    scheduler.advance(2000);
    EXPECT_FALSE(port.isOpen()) << "the next START opens it";
    race.StartButton1Click();
    EXPECT_TRUE(port.isOpen());
}
