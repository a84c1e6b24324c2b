#include "VirtualRace.h"

#include <gtest/gtest.h>

namespace {

class ControlPulseTest : public ::testing::Test {
protected:
    ControlPulseTest() {
        rig.settings.Semafor.Pouzij = false;
        rig.settings.HW.Rizeni = true;
    }
    void startRace(quint8 resting) {
        rig.backend->setData(resting);
        rig.race->StartButton1Click();
        startMs = rig.race->startTick();
    }
    // Data writes from the given instant on.
    std::vector<FakePortBackend::Write> writesFrom(qint64 fromMs) const {
        std::vector<FakePortBackend::Write> out;
        for (const auto& write : rig.backend->writes()) {
            if (write.atMs >= fromMs)
                out.push_back(write);
        }
        return out;
    }
    VirtualRace rig;
    qint64 startMs = 0;
};

} // namespace

TEST_F(ControlPulseTest, LowForLog0ThenHighForLog1AfterALap) {
    rig.settings.HW.LOG0 = 100;
    rig.settings.HW.LOG1 = 250;
    rig.pulse->applyIntervals(rig.settings);
    startRace(0x04);
    rig.passSensor(1, startMs + 10000);
    rig.scheduler.advanceTo(startMs + 11000);
    const auto writes = writesFrom(startMs);
    ASSERT_EQ(writes.size(), 2u);
    EXPECT_EQ(writes[0].atMs, startMs + 10100);
    EXPECT_EQ(writes[0].value, 0x44);
    EXPECT_EQ(writes[1].atMs, startMs + 10350);
    EXPECT_EQ(writes[1].value, 0x04);
}

TEST_F(ControlPulseTest, TwoLapsCloseTogetherGiveOnePulseAfterTheSecond) {
    startRace(0x00);
    rig.passSensor(1, startMs + 10000);
    rig.passSensor(2, startMs + 10100);
    rig.scheduler.advanceTo(startMs + 11000);
    const auto writes = writesFrom(startMs);
    ASSERT_EQ(writes.size(), 2u);
    EXPECT_EQ(writes[0].atMs, startMs + 10250);
    EXPECT_EQ(writes[1].atMs, startMs + 10400);
}

TEST_F(ControlPulseTest, TouchesBitSixAloneEvenWhenItIsAlreadyHigh) {
    startRace(0x44); // a lamp mask that uses pin 8
    rig.passSensor(1, startMs + 5000);
    rig.scheduler.advanceTo(startMs + 6000);
    const auto writes = writesFrom(startMs);
    ASSERT_EQ(writes.size(), 2u);
    EXPECT_EQ(writes[0].value, 0x44);
    EXPECT_EQ(writes[1].value, 0x04);
    for (const auto& write : writes)
        EXPECT_EQ(write.value & 0x80, 0) << "carried into bit 7";

    rig.backend->setData(0xFF);
    rig.pulse->HwLOG0TimerTimer();
    EXPECT_EQ(rig.backend->data(), 0xFF);
    rig.pulse->HWLOG1TimerTimer();
    EXPECT_EQ(rig.backend->data(), 0xBF);
}

TEST_F(ControlPulseTest, RizeniOffGivesNoPulse) {
    rig.settings.HW.Rizeni = false;
    startRace(0x00);
    rig.passSensor(1, startMs + 5000);
    rig.scheduler.advanceTo(startMs + 6000);
    EXPECT_TRUE(writesFrom(startMs).empty());
}

TEST_F(ControlPulseTest, OnePulseFollowsTheStartUp) {
    rig.backend->setData(0x00);
    const qint64 t0 = rig.clock.nowMs();
    rig.startUp();
    rig.scheduler.advance(1000);
    const auto writes = writesFrom(t0 + 1);
    ASSERT_EQ(writes.size(), 2u);
    EXPECT_EQ(writes[0].atMs, t0 + 150);
    EXPECT_EQ(writes[0].value, 0x40);
    EXPECT_EQ(writes[1].atMs, t0 + 300);
    EXPECT_EQ(writes[1].value, 0x00);
}

TEST_F(ControlPulseTest, SpinFieldsChangeTheIntervalsAtOnce) {
    rig.pulse->SpinLOG0Change(40);
    rig.pulse->SpinLOG1Change(60);
    EXPECT_EQ(rig.hwLog0->interval(), 40u);
    EXPECT_EQ(rig.hwLog1->interval(), 60u);
    startRace(0x00);
    rig.passSensor(3, startMs + 5000);
    rig.scheduler.advanceTo(startMs + 6000);
    const auto writes = writesFrom(startMs);
    ASSERT_EQ(writes.size(), 2u);
    EXPECT_EQ(writes[0].atMs, startMs + 5040);
    EXPECT_EQ(writes[1].atMs, startMs + 5100);
}
