#include "VirtualRace.h"

#include <gtest/gtest.h>

namespace {

constexpr quint8 Button = 0x80;

class ExternalStartWatchTest : public ::testing::Test {
protected:
    ExternalStartWatchTest() {
        rig.settings.HW.Rizeni = false;
        rig.settings.Ostatni.ExtStart = true;
    }
    // The button held for holdMs from now.
    void press(qint64 holdMs = 300) {
        rig.backend->addPulse(rig.clock.nowMs(), rig.clock.nowMs() + holdMs, Button);
    }
    VirtualRace rig;
};

} // namespace

TEST_F(ExternalStartWatchTest, FollowsTheSettingAtStartUp) {
    rig.startUp();
    EXPECT_TRUE(rig.watch->enabled());
    EXPECT_EQ(rig.extStart->interval(), ExternalStartWatch::IntervalMs);
    rig.settings.Ostatni.ExtStart = false;
    rig.watch->applySetting();
    EXPECT_FALSE(rig.watch->enabled());
}

TEST_F(ExternalStartWatchTest, OnePressStartsARaceAndTheNextPressStopsIt) {
    rig.startUp();
    press();
    rig.scheduler.advance(200);
    EXPECT_TRUE(rig.race->running());
    EXPECT_TRUE(rig.watch->enabled());
    rig.scheduler.advance(1000);
    EXPECT_TRUE(rig.race->running()) << "the press that started the race must not stop it";
    press();
    rig.scheduler.advance(200);
    EXPECT_FALSE(rig.race->running());
    EXPECT_TRUE(rig.watch->enabled());
}

TEST_F(ExternalStartWatchTest, ButtonStopsARaceTheScreenStarted) {
    rig.startUp();
    rig.race->StartButton1Click();
    ASSERT_TRUE(rig.race->running());
    EXPECT_TRUE(rig.watch->enabled());
    rig.scheduler.advance(5000);
    EXPECT_TRUE(rig.race->running());
    press(100);
    rig.scheduler.advance(400);
    EXPECT_FALSE(rig.race->running());
    EXPECT_TRUE(rig.watch->enabled()); // enabled again by the STOP
}

TEST_F(ExternalStartWatchTest, AHeldButtonActsOnceUntilItIsReleased) {
    rig.startUp();
    rig.race->StartButton1Click();
    rig.scheduler.advance(5000);
    press(3000);
    rig.scheduler.advance(200);
    EXPECT_FALSE(rig.race->running());
    rig.scheduler.advance(2000);
    EXPECT_FALSE(rig.race->running()) << "a button still held is no new press";
    rig.scheduler.advance(1000); // released
    press(100);
    rig.scheduler.advance(200);
    EXPECT_TRUE(rig.race->running());
}

TEST_F(ExternalStartWatchTest, SettingOffIgnoresTheButton) {
    rig.settings.Ostatni.ExtStart = false;
    rig.watch->setEnabled(true); // as after a STOP
    press(2000);
    rig.scheduler.advance(1000);
    EXPECT_FALSE(rig.race->running());
    EXPECT_TRUE(rig.watch->enabled());

    rig.settings.Ostatni.ExtStart = true; // switched on and saved while the button is held
    rig.watch->applySetting();
    rig.scheduler.advance(200);
    EXPECT_TRUE(rig.race->running());
}

TEST_F(ExternalStartWatchTest, OtherStatusBitsDoNotCount) {
    rig.startUp();
    rig.backend->setStatus(0x78);
    rig.scheduler.advance(1000);
    EXPECT_FALSE(rig.race->running());
}
