#include "VirtualRace.h"

#include <QRegularExpression>

#include <gtest/gtest.h>

namespace {

class StartLightsTest : public ::testing::Test {
protected:
    StartLightsTest() {
        rig.settings.Semafor.Cervena = 0x01;
        rig.settings.Semafor.Oranzova = 0x02;
        rig.settings.Semafor.Zelena = 0x04;
        rig.settings.HW.Rizeni = false;
    }
    VirtualRace rig;
};

} // namespace

TEST_F(StartLightsTest, RedOrangeGreenOneSecondApartThenTheFirstLapFromGreen) {
    rig.settings.Semafor.Prodleva = 1;
    const qint64 t0 = rig.clock.nowMs();
    rig.race->StartButton1Click();
    const auto& writes = rig.backend->writes();
    ASSERT_EQ(writes.size(), 3u);
    EXPECT_EQ(writes[0].value, 0x01);
    EXPECT_EQ(writes[0].atMs, t0);
    EXPECT_EQ(writes[1].value, 0x02);
    EXPECT_EQ(writes[1].atMs, t0 + 1000);
    EXPECT_EQ(writes[2].value, 0x04);
    EXPECT_EQ(writes[2].atMs, t0 + 2000);
    EXPECT_EQ(rig.race->startTick(), t0 + 2000);

    const QStringList lamps = rig.view.log().filter(QRegularExpression(QStringLiteral("^(lamp|repaint)")));
    EXPECT_EQ(lamps, QStringList({QStringLiteral("lamp red on"), QStringLiteral("repaint"),
                                  QStringLiteral("lamp red off"), QStringLiteral("lamp orange on"),
                                  QStringLiteral("repaint"), QStringLiteral("lamp green on"),
                                  QStringLiteral("lamp orange off"), QStringLiteral("repaint")}));

    rig.passSensor(1, t0 + 2000 + 33000);
    rig.scheduler.advanceTo(t0 + 40000);
    EXPECT_EQ(rig.laps(1), QStringList({QStringLiteral("00:33:000")}));
}

TEST_F(StartLightsTest, LongerDelayStretchesBothWaits) {
    rig.settings.Semafor.Prodleva = 3;
    const qint64 t0 = rig.clock.nowMs();
    rig.race->StartButton1Click();
    EXPECT_EQ(rig.backend->writes().at(1).atMs, t0 + 3000);
    EXPECT_EQ(rig.backend->writes().at(2).atMs, t0 + 6000);
    EXPECT_EQ(rig.race->startTick(), t0 + 6000);
}

TEST_F(StartLightsTest, LightsOffWriteNothingAndLeaveTheLamps) {
    rig.settings.Semafor.Pouzij = false;
    rig.view.setLamp(Lamp::Orange, true);
    rig.view.clearLog();
    rig.race->StartButton1Click();
    EXPECT_TRUE(rig.backend->writes().empty());
    EXPECT_TRUE(rig.view.logOf(QStringLiteral("lamp")).isEmpty());
    EXPECT_TRUE(rig.view.lamp(Lamp::Orange));

    rig.view.setRaceMinutes(1);
    rig.scheduler.advance(60300);
    ASSERT_EQ(rig.backend->writes().size(), 1u);
    EXPECT_EQ(rig.backend->writes()[0].value, rig.race->endRedMask());
}

TEST_F(StartLightsTest, ClosedPortStillRunsTheDelaysAndTheLamps) {
    rig.port->setOpened(false);
    const qint64 t0 = rig.clock.nowMs();
    rig.race->StartButton1Click();
    EXPECT_TRUE(rig.backend->writes().empty());
    EXPECT_EQ(rig.race->startTick(), t0 + 2000);
    EXPECT_TRUE(rig.view.lamp(Lamp::Green));
}

TEST_F(StartLightsTest, StartupValueIsItsLowByte) {
    rig.settings.PoSpusteni.Base = 0x1A5;
    rig.lights->writeStartupValue(rig.settings.PoSpusteni.Base);
    EXPECT_EQ(rig.backend->data(), 0xA5);
}
