// A lap's instant is the sample that saw the kart, however long the main thread takes to get to it:
// races on virtual time whose samplers hand their hits over 30 ms late, as to a main thread busy with
// a repaint or a message box.
#include "VirtualRace.h"

#include "timing/LapTime.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

constexpr qint64 HandOverMs = 30;
constexpr quint8 Button = 0x80;

class SampledInstantTest : public ::testing::Test {
protected:
    SampledInstantTest() {
        rig.settings.Semafor.Pouzij = false;
        rig.timers.setSamplerHandOverDelayMs(HandOverMs);
    }
    qint64 lap(int kart, int index) const { return ParseLapTime(rig.laps(kart).value(index)); }

    VirtualRace rig;
};

} // namespace

TEST_F(SampledInstantTest, LapsAreTimedAtTheSampleNotWhenTheMainThreadTakesThem) {
    rig.race->StartButton1Click();
    const qint64 start = rig.race->startTick();
    // Two karts a millisecond apart, and short pulses that are over long before the main thread
    // takes the hits: neither is lost, and neither lap grows by the hand-over.
    rig.passSensor(1, start + 10000, 5);
    rig.passSensor(2, start + 10001, 5);
    rig.passSensor(1, start + 21000, 5);
    rig.passSensor(2, start + 21003, 5);
    rig.scheduler.advanceTo(start + 25000);

    ASSERT_EQ(rig.laps(1).size(), 2);
    ASSERT_EQ(rig.laps(2).size(), 2);
    const qint64 truth[2][2] = {{10000, 11000}, {10001, 11002}};
    for (int kart = 1; kart <= 2; ++kart) {
        for (int i = 0; i < 2; ++i)
            EXPECT_LE(std::abs(lap(kart, i) - truth[kart - 1][i]), qint64(TRace::SamplerIntervalMs))
                << "kart " << kart << ", lap " << i + 1 << ": " << lap(kart, i);
    }
}

TEST_F(SampledInstantTest, ARaceStartedByTheButtonIsTimedFromThePress) {
    rig.settings.Ostatni.ExtStart = true;
    rig.startUp();
    rig.scheduler.advance(1000);
    const qint64 pressedAt = rig.clock.nowMs() + 7;
    rig.backend->addPulse(pressedAt, pressedAt + 300, Button);
    rig.passSensor(3, pressedAt + 5000, 5);
    rig.scheduler.advanceTo(pressedAt + 6000);

    ASSERT_TRUE(rig.race->running());
    EXPECT_LE(rig.race->startTick() - pressedAt, qint64(ExternalStartWatch::IntervalMs));
    ASSERT_EQ(rig.laps(3).size(), 1);
    EXPECT_LE(std::abs(lap(3, 0) - 5000), qint64(ExternalStartWatch::IntervalMs + TRace::SamplerIntervalMs))
        << "first lap " << lap(3, 0) << " ms";
}
