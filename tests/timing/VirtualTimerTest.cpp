#include "VirtualTimer.h"
#include "FakeClock.h"
#include "VirtualScheduler.h"

#include <gtest/gtest.h>

// The virtual timers must keep the threaded timer's rules, or every race test would prove nothing.
class VirtualTimerTest : public ::testing::Test {
protected:
    FakeClock clock{0};
    VirtualScheduler scheduler{clock};
    VirtualTimer timer{scheduler};
    int ticks = 0;
    void SetUp() override {
        timer.setOnTimer([this] { ++ticks; });
    }
};

TEST_F(VirtualTimerTest, NeverEnabledNeverTicks) {
    scheduler.advance(5000);
    EXPECT_EQ(ticks, 0);
}

TEST_F(VirtualTimerTest, FirstTickOneFullIntervalAfterEnabling) {
    timer.setInterval(2);
    timer.setEnabled(true);
    scheduler.advance(1);
    EXPECT_EQ(ticks, 0);
    scheduler.advance(1);
    EXPECT_EQ(ticks, 1);
    scheduler.advance(1);
    timer.setEnabled(true); // same value: the running wait goes on
    scheduler.advance(1);
    EXPECT_EQ(ticks, 2);
}

TEST_F(VirtualTimerTest, NewIntervalRestartsTheWaitSameIntervalDoesNot) {
    timer.setInterval(100);
    timer.setEnabled(true);
    scheduler.advance(60);
    timer.setInterval(100);
    scheduler.advance(40);
    EXPECT_EQ(ticks, 1);
    scheduler.advance(60);
    timer.setInterval(50);
    scheduler.advance(49);
    EXPECT_EQ(ticks, 1);
    scheduler.advance(1);
    EXPECT_EQ(ticks, 2);
}

TEST_F(VirtualTimerTest, ZeroIntervalNeedsAllowZero) {
    timer.setInterval(0);
    timer.setEnabled(true);
    scheduler.advance(10);
    EXPECT_TRUE(timer.enabled());
    EXPECT_EQ(ticks, 0);
    timer.setAllowZero(true);
    scheduler.advance(10);
    EXPECT_EQ(ticks, 10);
}

TEST_F(VirtualTimerTest, BlockedMainThreadGetsOneLateTick) {
    timer.setInterval(10);
    timer.setEnabled(true);
    scheduler.block(1000);
    EXPECT_EQ(ticks, 0);
    scheduler.advance(1);
    EXPECT_EQ(ticks, 1);
    scheduler.advance(9);
    EXPECT_EQ(ticks, 1);
    scheduler.advance(1);
    EXPECT_EQ(ticks, 2);
}

TEST_F(VirtualTimerTest, HandlerOnlyWhileEnabled) {
    VirtualTimer other(scheduler);
    timer.setInterval(5);
    other.setInterval(5);
    // Created second, other ticks after timer at the same instant; timer switches it off first.
    timer.setOnTimer([&] {
        ++ticks;
        other.setEnabled(false);
    });
    int otherTicks = 0;
    other.setOnTimer([&] { ++otherTicks; });
    timer.setEnabled(true);
    other.setEnabled(true);
    scheduler.advance(5);
    EXPECT_EQ(ticks, 1);
    EXPECT_EQ(otherTicks, 0);
}
