#include "RecordingErrorReporter.h"
#include "TrackClock.h"

#include "base/UserError.h"
#include "config/TSettings.h"
#include "hardware/PortBase.h"
#include "hardware/PortRepair.h"
#include "hardware/PortTester.h"
#include "hardware/TSmallPort.h"
#include "hardware/VirtualTrack.h"
#include "hardware/VirtualTrackPortBackend.h"
#include "platform/KernelModules.h"
#include "timing/ThdTimer.h"
#include "timing/ThreadedTimerFactory.h"

#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

#include <cerrno>
#include <functional>

namespace {

class PortTesterTest : public ::testing::Test {
protected:
    TSettings settings;
    TrackClock clock;
    VirtualTrack track{settings, clock};
    TSmallPort port{std::make_unique<VirtualTrackPortBackend>(track)};
    PortTester tester{port, ThreadedTimerFactory::instance()};
    int choice = PortBase::ChoiceLpt1;
    QString hexText = QStringLiteral("DC00");

    void SetUp() override {
        tester.setBaseSource([this] { return PortBase::fromChoice(choice, hexText); });
    }
};

// Generous: a busy machine is slow, never wrong.
constexpr int WaitMs = 30000;

// Serves events until done() holds; false if it never did within the generous limit.
bool serveUntil(const std::function<bool()>& done) {
    return QTest::qWaitFor(done, WaitMs);
}

} // namespace

TEST_F(PortTesterTest, TheToggleOpensAndClosesWithItsCaption) {
    EXPECT_EQ(tester.portButtonCaption(), QStringLiteral("Otevřít port"));
    EXPECT_EQ(tester.togglePort(), QStringLiteral("Zavřít port"));
    EXPECT_TRUE(port.Opened());
    EXPECT_EQ(port.portBase(), 888);
    EXPECT_EQ(tester.togglePort(), QStringLiteral("Otevřít port"));
    EXPECT_FALSE(port.Opened());
    EXPECT_EQ(PortTester::portButtonCaption(true), QStringLiteral("Zavřít port"));
}

TEST_F(PortTesterTest, ChoosingAPortMovesTheBaseAtOnceEvenWhileClosed) {
    tester.choosePort(PortBase::ChoiceLpt2, QString());
    EXPECT_EQ(port.portBase(), 632);
    tester.choosePort(PortBase::ChoiceHex, QStringLiteral("1DC00"));
    EXPECT_EQ(port.portBase(), 0xDC00);
    EXPECT_THROW(tester.choosePort(PortBase::ChoiceHex, QStringLiteral("G00")), ConversionError);
    EXPECT_EQ(port.portBase(), 0xDC00);
    EXPECT_FALSE(port.Opened());
}

TEST_F(PortTesterTest, ReadingShowsTheDataBitsAndTheFiveStatusBits) {
    EXPECT_FALSE(tester.readState().has_value()) << "reads only while open";
    tester.togglePort();
    choice = PortBase::ChoiceHex;
    settings.HW.Negace = true;
    port.setPortBase(888);
    tester.writeValue(0xA5);
    EXPECT_EQ(port.portBase(), 0xDC00) << "writing sets the base from the choice";
    track.passKart(1);
    track.passKart(3);
    track.pressButton();
    QSignalSpy readings(&tester, &PortTester::stateRead);
    const auto reading = tester.readState();
    ASSERT_TRUE(reading.has_value());
    EXPECT_EQ(readings.count(), 1);
    EXPECT_EQ(reading->data, 0xA5);
    EXPECT_TRUE(reading->dataBit(0));
    EXPECT_FALSE(reading->dataBit(1));
    EXPECT_TRUE(reading->dataBit(7));
    EXPECT_TRUE(reading->statusBit(3));
    EXPECT_FALSE(reading->statusBit(4));
    EXPECT_TRUE(reading->statusBit(5));
    EXPECT_FALSE(reading->statusBit(6));
    EXPECT_TRUE(reading->statusBit(7));
}

TEST_F(PortTesterTest, WritingNeedsAnOpenPortAndABaseTextThatIsHexadecimal) {
    tester.writeValue(7);
    EXPECT_TRUE(track.dataWrites().isEmpty());
    tester.togglePort();
    choice = PortBase::ChoiceHex;
    hexText = QStringLiteral("XYZ");
    EXPECT_THROW(tester.writeValue(7), ConversionError);
    EXPECT_TRUE(track.dataWrites().isEmpty());
}

TEST_F(PortTesterTest, TheRepeatTimerRunsAt100MsUntilTheFieldIsChanged) {
    const auto& timer = dynamic_cast<const TThreadedTimer&>(tester.OpakujCteniTimer());
    EXPECT_EQ(timer.objectName(), QStringLiteral("OpakujCteniTimer"));
    EXPECT_EQ(timer.interval(), 100u);
    EXPECT_FALSE(timer.allowZero());
    EXPECT_EQ(timer.threadPriority(), TThreadedTimer::tpHighest);
    EXPECT_FALSE(timer.enabled());
    tester.setRepeatInterval(50);
    EXPECT_EQ(timer.interval(), 50u);

    tester.togglePort();
    QSignalSpy readings(&tester, &PortTester::stateRead);
    tester.setRepeat(true);
    EXPECT_TRUE(tester.repeating());
    EXPECT_TRUE(QTest::qWaitFor([&] { return readings.count() >= 3; }, WaitMs));
    tester.setRepeat(false);
    EXPECT_FALSE(timer.enabled());
    // No reading follows, while a timer of the same interval ticks beside it.
    const auto readingsAtStop = readings.count();
    TThreadedTimer beside;
    int besideTicks = 0;
    beside.setInterval(50);
    beside.setOnTimer([&] { ++besideTicks; });
    beside.setEnabled(true);
    ASSERT_TRUE(QTest::qWaitFor([&] { return besideTicks >= 3; }, WaitMs));
    EXPECT_EQ(readings.count(), readingsAtStop);
}

TEST_F(PortTesterTest, ARepeatedReadingThatFailsStopsTheRepetitionAndReportsWhy) {
    RecordingErrorReporter reporter;
    tester.togglePort();
    QSignalSpy stopped(&tester, &PortTester::repeatStopped);
    tester.setRepeat(true);
    EXPECT_NO_THROW(tester.OpakujCteniTimerTimer());
    EXPECT_TRUE(tester.repeating());
    EXPECT_EQ(reporter.count(), 0);
    choice = PortBase::ChoiceHex;
    hexText = QStringLiteral("nope");
    // The message is shown with the repetition already stopped, so it does not come again meanwhile.
    bool repeatingWhileShown = true;
    int stopsWhileShown = 0;
    reporter.onReport = [&](const QString&) {
        repeatingWhileShown = tester.repeating();
        stopsWhileShown = int(stopped.count());
    };
    EXPECT_NO_THROW(tester.OpakujCteniTimerTimer());
    EXPECT_EQ(reporter.messages(), QStringList{QStringLiteral("'$nope' is not a valid integer value")});
    EXPECT_FALSE(repeatingWhileShown);
    EXPECT_EQ(stopsWhileShown, 1);
    EXPECT_FALSE(tester.repeating());
    EXPECT_EQ(stopped.count(), 1);
}

TEST_F(PortTesterTest, TheRepeatTimersFailingTickIsReportedOnce) {
    RecordingErrorReporter reporter;
    tester.togglePort();
    tester.setRepeatInterval(5);
    choice = PortBase::ChoiceHex;
    hexText = QStringLiteral("G00");
    QSignalSpy stopped(&tester, &PortTester::repeatStopped);
    tester.setRepeat(true);
    ASSERT_TRUE(serveUntil([&] { return reporter.count() > 0; }));
    EXPECT_EQ(reporter.messages(), QStringList{QStringLiteral("'$G00' is not a valid integer value")});
    EXPECT_EQ(stopped.count(), 1);
    EXPECT_FALSE(tester.repeating());
}

namespace {
class FakeModules : public KernelModules {
public:
    explicit FakeModules(TSmallPort& port, QString error) : m_port(port), m_error(std::move(error)) {}
    QString reloadParallelPortModules() override {
        portOpenDuringReload = m_port.Opened();
        ++reloads;
        return m_error;
    }
    bool portOpenDuringReload = true;
    int reloads = 0;

private:
    TSmallPort& m_port;
    QString m_error;
};
} // namespace

TEST_F(PortTesterTest, TheRepairReloadsTheDriversWithThePortClosedAndSaysWhenItFailed) {
    port.setOpened(true);
    FakeModules working(port, QString());
    const PortRepair::Result ok = PortRepair(working, &port).run();
    EXPECT_TRUE(ok.ok);
    EXPECT_EQ(working.reloads, 1);
    EXPECT_FALSE(working.portOpenDuringReload);
    EXPECT_TRUE(port.Opened());

    FakeModules refused(port, QStringLiteral("modprobe -r ppdev parport_pc: skončil s kódem 1"));
    const PortRepair::Result failed = PortRepair(refused, &port).run();
    EXPECT_FALSE(failed.ok);
    EXPECT_TRUE(failed.message.contains(QStringLiteral("správce")));
    EXPECT_TRUE(failed.message.contains(QStringLiteral("modprobe -r ppdev parport_pc")));
    EXPECT_TRUE(port.Opened());

    port.setOpened(false);
    FakeModules closed(port, QString());
    PortRepair(closed, &port).run();
    EXPECT_FALSE(port.Opened());
}
