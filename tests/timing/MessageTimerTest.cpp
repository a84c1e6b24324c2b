#include "RecordingErrorReporter.h"

#include "base/UserError.h"
#include "timing/MessageTimer.h"

#include <QCoreApplication>
#include <QElapsedTimer>

#include <gtest/gtest.h>

namespace {

// Serves events until done() or the generous limit passes.
bool serveUntil(const std::function<bool()>& done, int limitMs = 5000) {
    QElapsedTimer elapsed;
    elapsed.start();
    while (!done() && elapsed.elapsed() < limitMs)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    return done();
}

} // namespace

TEST(MessageTimer, TicksOnlyWhileEnabled) {
    MessageTimer timer;
    int ticks = 0;
    timer.setOnTimer([&] { ++ticks; });
    timer.setInterval(10);
    EXPECT_FALSE(serveUntil([&] { return ticks > 0; }, 100));
    timer.setEnabled(true);
    EXPECT_TRUE(serveUntil([&] { return ticks >= 2; }));
    timer.setEnabled(false);
    const int seen = ticks;
    serveUntil([] { return false; }, 60);
    EXPECT_EQ(ticks, seen);
}

TEST(MessageTimer, ZeroIntervalNeedsAllowZero) {
    MessageTimer timer;
    int ticks = 0;
    timer.setOnTimer([&] { ++ticks; });
    timer.setInterval(0);
    timer.setEnabled(true);
    EXPECT_TRUE(timer.enabled());
    EXPECT_FALSE(serveUntil([&] { return ticks > 0; }, 100));
    timer.setAllowZero(true);
    EXPECT_TRUE(serveUntil([&] { return ticks > 0; }));
}

TEST(MessageTimer, HandlerMayDisableItsOwnTimer) {
    MessageTimer timer;
    int ticks = 0;
    timer.setOnTimer([&] {
        ++ticks;
        timer.setEnabled(false);
    });
    timer.setInterval(5);
    timer.setEnabled(true);
    EXPECT_TRUE(serveUntil([&] { return ticks > 0; }));
    serveUntil([] { return false; }, 50);
    EXPECT_EQ(ticks, 1);
    EXPECT_FALSE(timer.enabled());
}

TEST(MessageTimer, AHandlerThatRaisesIsReportedOnceAndItsTimerTicksOn) {
    RecordingErrorReporter reporter;
    MessageTimer timer;
    int ticks = 0;
    timer.setOnTimer([&] {
        if (++ticks == 1)
            throw UserError(QStringLiteral("Externí start nelze přečíst."));
    });
    timer.setInterval(5);
    timer.setEnabled(true);
    EXPECT_TRUE(serveUntil([&] { return ticks >= 3; }));
    EXPECT_EQ(reporter.messages(), QStringList{QStringLiteral("Externí start nelze přečíst.")});
}
