#include "TrackClock.h"

#include "base/UserError.h"
#include "config/TSettings.h"
#include "hardware/PortBackendFactory.h"
#include "hardware/PortOptions.h"
#include "hardware/RandomKarts.h"
#include "hardware/TSmallPort.h"
#include "hardware/VirtualTrack.h"
#include "hardware/VirtualTrackPortBackend.h"

#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

constexpr quint8 SensorBits = 0x78; // bits 3..6

class VirtualTrackTest : public ::testing::Test {
protected:
    TSettings settings;
    TrackClock clock;
    VirtualTrack track{settings, clock};
};

} // namespace

TEST_F(VirtualTrackTest, WithNegaceOnAPassingKartSetsItsBitForOnePulse) {
    settings.HW.Negace = true;
    track.start();
    EXPECT_EQ(track.statusRegister(), 0);

    track.passKart(2);
    EXPECT_EQ(track.statusRegister(), 1 << 4);
    clock.advance(VirtualTrack::DefaultPulseMs - 1);
    EXPECT_EQ(track.statusRegister(), 1 << 4);
    clock.advance(1);
    EXPECT_EQ(track.statusRegister(), 0);
}

TEST_F(VirtualTrackTest, WithNegaceOffTheSensorsRestHighAndAPassingKartClearsItsBit) {
    settings.HW.Negace = false;
    track.start();
    EXPECT_EQ(track.statusRegister(), SensorBits);
    track.passKart(1);
    track.passKart(4);
    EXPECT_EQ(track.statusRegister(), SensorBits & ~(1 << 3) & ~(1 << 6));
    // The setting is read at every sample, as the race reads it.
    settings.HW.Negace = true;
    EXPECT_EQ(track.statusRegister(), (1 << 3) | (1 << 6));
    clock.advance(VirtualTrack::DefaultPulseMs);
    EXPECT_EQ(track.statusRegister(), 0);
}

TEST_F(VirtualTrackTest, TheExternalStartButtonIsBitSevenWhateverNegaceSays) {
    for (const bool negace : {true, false}) {
        settings.HW.Negace = negace;
        track.pressButton();
        EXPECT_TRUE(track.statusRegister() & 0x80);
        track.releaseButton();
        EXPECT_FALSE(track.statusRegister() & 0x80);
    }
    track.clickButton();
    clock.advance(299);
    EXPECT_TRUE(track.buttonPressed());
    clock.advance(1);
    EXPECT_FALSE(track.buttonPressed());
}

TEST_F(VirtualTrackTest, ReplaysAScenarioOnTrackTime) {
    track.replay({{1000, ScenarioEvent::Press, 0},
                  {1300, ScenarioEvent::Release, 0},
                  {30000, ScenarioEvent::Pass, 3},
                  {30010, ScenarioEvent::Pass, 3}});
    clock.advance(777); // time before the start does not count
    track.start();
    QSignalSpy passes(&track, &VirtualTrack::kartPassed);
    clock.advance(999);
    EXPECT_EQ(track.statusRegister(), 0);
    clock.advance(1);
    EXPECT_EQ(track.statusRegister(), 0x80);
    clock.advance(300);
    EXPECT_EQ(track.statusRegister(), 0);
    clock.advance(30000 - 1300);
    EXPECT_EQ(track.statusRegister(), 1 << 5);
    // A second pass during the pulse lengthens it.
    clock.advance(45);
    EXPECT_EQ(track.statusRegister(), 1 << 5);
    clock.advance(5);
    EXPECT_EQ(track.statusRegister(), 0);
    ASSERT_EQ(passes.count(), 2);
    EXPECT_EQ(passes.at(0).at(1).toLongLong(), 30000);
}

TEST_F(VirtualTrackTest, APassIsSeenOnlyBySamplesWithinItsPulse) {
    track.replay({{100, ScenarioEvent::Pass, 1}});
    track.start();
    clock.advance(200); // nobody looked while the kart passed
    EXPECT_EQ(track.statusRegister(), 0);
}

TEST_F(VirtualTrackTest, RandomKartsDriveRealisticVariedLapsReproducibly) {
    RandomKarts a(1234);
    RandomKarts b(1234);
    for (int kart = 1; kart <= RandomKarts::KartCount; ++kart) {
        QList<qint64> laps;
        for (int lap = 0; lap < 40; ++lap) {
            const qint64 before = a.nextPassMs(kart);
            a.completeLap(kart);
            b.completeLap(kart);
            EXPECT_EQ(a.nextPassMs(kart), b.nextPassMs(kart));
            laps << a.nextPassMs(kart) - before;
        }
        const auto [shortest, longest] = std::minmax_element(laps.begin(), laps.end());
        EXPECT_GE(*shortest, 25000);
        EXPECT_LE(*longest, 60000);
        EXPECT_GT(*longest - *shortest, 500) << "laps do not vary";
    }
}

TEST_F(VirtualTrackTest, RandomKartsShowUpOnTheStatusRegisterWhenSampledEvery2Ms) {
    settings.HW.Negace = true;
    track.driveRandomKarts(99);
    track.start();
    std::array<int, 4> rises{};
    quint8 previous = 0;
    for (qint64 t = 0; t < 5 * 60 * 1000; t += 2) {
        const quint8 status = track.statusRegister();
        for (int kart = 1; kart <= 4; ++kart) {
            const quint8 bit = quint8(1 << VirtualTrack::sensorBit(kart));
            if ((status & bit) && !(previous & bit))
                ++rises[kart - 1];
        }
        previous = status;
        clock.advance(2);
    }
    for (int kart = 1; kart <= 4; ++kart) {
        EXPECT_GE(rises[kart - 1], 6) << "kart " << kart;
        EXPECT_LE(rises[kart - 1], 11) << "kart " << kart;
    }
}

TEST_F(VirtualTrackTest, ThePortBackendMapsRegistersAtAnyBaseAndRecordsTheLamps) {
    TSmallPort port(std::make_unique<VirtualTrackPortBackend>(track));
    QSignalSpy lamps(&track, &VirtualTrack::dataWritten);
    port.setOpened(true);
    ASSERT_TRUE(port.Opened());
    EXPECT_TRUE(track.isStarted());
    track.pressButton();
    for (const quint16 base : {quint16(888), quint16(632), quint16(0xDC00)}) {
        port.WritePort(base, quint8(base & 0xFF) | 1);
        EXPECT_EQ(port.ReadPort(base), quint8(base & 0xFF) | 1);
        EXPECT_EQ(port.ReadPort(base + 1), 0x80);
        port.WritePort(base + 1, 0xFF); // read-only
        EXPECT_EQ(port.ReadPort(base + 1), 0x80);
    }
    clock.advance(10);
    port.WritePort(888, 0x40);
    EXPECT_EQ(lamps.count(), 4);
    ASSERT_EQ(track.dataWrites().size(), 4);
    EXPECT_EQ(track.dataWrites().last().value, 0x40);
    EXPECT_EQ(track.dataWrites().last().atMs, 10);
}

TEST(PortBackendFactory, BuildsTheTrackForTheOptions) {
    TSettings settings;
    TrackClock clock;
    EXPECT_EQ(PortBackendFactory::createTrack(PortOptions{}, settings, clock), nullptr);
    EXPECT_EQ(PortBackendFactory::createBackend(PortOptions{}, nullptr)->name(),
              QStringLiteral("ppdev / přímý přístup k portům"));

    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("race.txt"));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("0 pass 1\n");
    file.close();
    PortOptions options;
    options.simulate = true;
    options.scenarioFile = path;
    auto track = PortBackendFactory::createTrack(options, settings, clock);
    ASSERT_NE(track, nullptr);
    TSmallPort port(PortBackendFactory::createBackend(options, track.get()));
    port.setOpened(true);
    EXPECT_EQ(port.ReadPort(889), 0) << "the scenario waits until the station starts the track";
    track->start();
    EXPECT_EQ(port.ReadPort(889), 1 << 3);

    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write("0 pass one\n");
    file.close();
    EXPECT_THROW(PortBackendFactory::createTrack(options, settings, clock), UserError);
}
