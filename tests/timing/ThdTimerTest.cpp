#include "RecordingErrorReporter.h"

#include "base/UserError.h"
#include "timing/ThdTimer.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QThread>
#include <QVariant>

#include <gtest/gtest.h>

#include <functional>
#include <memory>

namespace {

// Serves the main thread's events for the given time.
void serveEvents(int ms) {
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < ms) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        QThread::usleep(200);
    }
}

// Serves events until the condition holds or the time is up; tells whether it held.
bool serveUntil(const std::function<bool()>& done, int timeoutMs = 10000) {
    QElapsedTimer clock;
    clock.start();
    while (!done()) {
        if (clock.elapsed() > timeoutMs)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        QThread::usleep(200);
    }
    return true;
}

struct Counted {
    std::unique_ptr<TThreadedTimer> timer = std::make_unique<TThreadedTimer>();
    int ticks = 0;
    Counted() {
        timer->setOnTimer([this] { ++ticks; });
    }
};

} // namespace

TEST(ThreadedTimer, StartsWithTheDefaultsAndExposesThemAsProperties) {
    TThreadedTimer timer;
    EXPECT_FALSE(timer.allowZero());
    EXPECT_FALSE(timer.enabled());
    EXPECT_EQ(timer.interval(), 1000u);
    EXPECT_EQ(timer.threadPriority(), TThreadedTimer::tpNormal);
    EXPECT_FALSE(timer.OnTimer());

    EXPECT_TRUE(timer.setProperty("Interval", 2u));
    EXPECT_TRUE(timer.setProperty("AllowZero", true));
    EXPECT_TRUE(timer.setProperty("ThreadPriority", QVariant::fromValue(TThreadedTimer::tpHighest)));
    EXPECT_EQ(timer.property("Interval").toUInt(), 2u);
    EXPECT_TRUE(timer.property("AllowZero").toBool());
    EXPECT_EQ(timer.threadPriority(), TThreadedTimer::tpHighest);
    EXPECT_FALSE(timer.property("Enabled").toBool());
}

TEST(ThreadedTimer, NeverEnabledNeverTicks) {
    Counted c;
    c.timer->setInterval(2);
    c.timer->setAllowZero(true);
    serveEvents(150);
    EXPECT_EQ(c.ticks, 0);
}

TEST(ThreadedTimer, FirstTickComesOneFullIntervalAfterEnabling) {
    TThreadedTimer timer;
    timer.setInterval(200);
    QElapsedTimer clock;
    qint64 firstTickMs = -1;
    timer.setOnTimerEvent([&](QObject* sender) {
        EXPECT_EQ(sender, &timer);
        if (firstTickMs < 0)
            firstTickMs = clock.elapsed();
    });
    clock.start();
    timer.setEnabled(true);
    ASSERT_TRUE(serveUntil([&] { return firstTickMs >= 0; }));
    EXPECT_GE(firstTickMs, 199);
}

TEST(ThreadedTimer, ReEnablingOrSettingTheSameIntervalDoesNotRestartTheWait) {
    // Were the wait restarted, repeating the setting faster than the interval would starve the ticks.
    for (const bool viaInterval : {false, true}) {
        Counted c;
        c.timer->setInterval(150);
        c.timer->setEnabled(true);
        ASSERT_TRUE(serveUntil(
            [&] {
                if (viaInterval)
                    c.timer->setInterval(150);
                else
                    c.timer->setEnabled(true);
                return c.ticks >= 3;
            },
            8000))
            << (viaInterval ? "same interval" : "enabled again");
    }
}

TEST(ThreadedTimer, ADifferentIntervalRestartsTheFullWait) {
    TThreadedTimer timer;
    QElapsedTimer clock;
    qint64 firstTickMs = -1;
    bool changed = false;
    timer.setOnTimer([&] {
        if (changed && firstTickMs < 0)
            firstTickMs = clock.elapsed();
    });
    timer.setInterval(1000);
    timer.setEnabled(true);
    serveEvents(500);
    changed = true;
    clock.start();
    timer.setInterval(800);
    EXPECT_TRUE(timer.enabled());
    EXPECT_EQ(timer.interval(), 800u);
    ASSERT_TRUE(serveUntil([&] { return firstTickMs >= 0; }));
    EXPECT_GE(firstTickMs, 799);
}

TEST(ThreadedTimer, ZeroIntervalRunsOnlyWithAllowZero) {
    Counted idle;
    idle.timer->setInterval(0);
    idle.timer->setEnabled(true);
    EXPECT_TRUE(idle.timer->enabled());
    serveEvents(150);
    EXPECT_EQ(idle.ticks, 0);

    Counted running;
    running.timer->setAllowZero(true);
    running.timer->setInterval(0);
    running.timer->setEnabled(true);
    EXPECT_TRUE(serveUntil([&] { return running.ticks >= 20; }));
}

TEST(ThreadedTimer, DisabledTimerStopsTicking) {
    Counted c;
    c.timer->setInterval(2);
    c.timer->setEnabled(true);
    ASSERT_TRUE(serveUntil([&] { return c.ticks >= 3; }));
    c.timer->setEnabled(false);
    serveEvents(20);
    const int ticksAfterDisable = c.ticks;
    serveEvents(100);
    EXPECT_EQ(c.ticks, ticksAfterDisable);
}

TEST(ThreadedTimer, ATickHandedOverAfterTheTimerWasDisabledIsNotRun) {
    Counted c;
    c.timer->setInterval(5);
    c.timer->setEnabled(true);
    // The main thread is busy: the worker's tick waits in the queue.
    QThread::msleep(100);
    c.timer->setEnabled(false);
    serveEvents(100);
    EXPECT_EQ(c.ticks, 0);
}

TEST(ThreadedTimer, AHandlerMayDisableItselfAndEnableAnother) {
    Counted second;
    second.timer->setInterval(5);
    TThreadedTimer first;
    int firstTicks = 0;
    first.setInterval(5);
    first.setOnTimer([&] {
        ++firstTicks;
        first.setEnabled(false);
        second.timer->setEnabled(true);
    });
    first.setEnabled(true);
    ASSERT_TRUE(serveUntil([&] { return second.ticks >= 3; }));
    EXPECT_EQ(firstTicks, 1);
}

TEST(ThreadedTimer, ItsOwnTicksNeverNestWhileTheHandlerServesEvents) {
    TThreadedTimer timer;
    timer.setAllowZero(true);
    timer.setInterval(1);
    int depth = 0;
    int deepest = 0;
    int ticks = 0;
    timer.setOnTimer([&] {
        ++depth;
        ++ticks;
        deepest = std::max(deepest, depth);
        serveEvents(10);
        --depth;
    });
    timer.setEnabled(true);
    ASSERT_TRUE(serveUntil([&] { return ticks >= 5; }));
    timer.setEnabled(false);
    EXPECT_EQ(deepest, 1);
}

TEST(ThreadedTimer, ARunningTimerCanBeDestroyed) {
    int ticks = 0;
    auto timer = std::make_unique<TThreadedTimer>();
    timer->setThreadPriority(TThreadedTimer::tpHighest);
    timer->setAllowZero(true);
    timer->setInterval(2);
    timer->setOnTimer([&] { ++ticks; });
    timer->setEnabled(true);
    ASSERT_TRUE(serveUntil([&] { return ticks >= 3; }));
    timer.reset();
    const int ticksAtDestruction = ticks;
    serveEvents(50);
    EXPECT_EQ(ticks, ticksAtDestruction);
}

TEST(ThreadedTimer, DestroyingWhileATickIsInFlightDropsTheTick) {
    int ticks = 0;
    auto timer = std::make_unique<TThreadedTimer>();
    timer->setInterval(2);
    timer->setOnTimer([&] { ++ticks; });
    timer->setEnabled(true);
    QThread::msleep(50); // the worker is now blocked in its hand-over
    timer.reset();
    serveEvents(50);
    EXPECT_EQ(ticks, 0);
}

TEST(ThreadedTimer, TimersCanBeDestroyedFromAnotherTimersTick) {
    std::vector<std::unique_ptr<TThreadedTimer>> samplers;
    int samplerTicks = 0;
    for (int i = 0; i < 4; ++i) {
        auto sampler = std::make_unique<TThreadedTimer>();
        sampler->setThreadPriority(TThreadedTimer::tpHighest);
        sampler->setAllowZero(true);
        sampler->setInterval(2);
        sampler->setOnTimer([&] { ++samplerTicks; });
        sampler->setEnabled(true);
        samplers.push_back(std::move(sampler));
    }
    TThreadedTimer reaper;
    reaper.setInterval(60);
    bool reaped = false;
    reaper.setOnTimer([&] {
        // The samplers' workers are blocked in hand-overs that this busy main thread cannot serve.
        QThread::msleep(20);
        samplers.clear();
        reaped = true;
        reaper.setEnabled(false);
    });
    reaper.setEnabled(true);
    ASSERT_TRUE(serveUntil([&] { return reaped; }));
    serveEvents(30);
    EXPECT_GT(samplerTicks, 0);
}

TEST(ThreadedTimer, ATimerCanDestroyItselfInItsOwnTick) {
    auto* timer = new TThreadedTimer;
    bool destroyed = false;
    timer->setInterval(5);
    timer->setOnTimerEvent([&](QObject* sender) {
        delete sender;
        destroyed = true;
    });
    timer->setEnabled(true);
    ASSERT_TRUE(serveUntil([&] { return destroyed; }));
    serveEvents(20);
}

TEST(ThreadedTimer, TicksRunOnTheOwnersThread) {
    TThreadedTimer timer;
    timer.setInterval(2);
    int ticks = 0;
    timer.setOnTimer([&] {
        EXPECT_EQ(QThread::currentThread(), QCoreApplication::instance()->thread());
        ++ticks;
    });
    timer.setEnabled(true);
    ASSERT_TRUE(serveUntil([&] { return ticks >= 3; }));
}

// A 5 ms timer whose first tick raises message; ticks counts every tick.
static void failFirstTick(TThreadedTimer& timer, int& ticks, const QString& message) {
    timer.setInterval(5);
    timer.setOnTimer([&ticks, message] {
        if (++ticks == 1)
            throw UserError(message);
    });
}

TEST(ThreadedTimer, AHandlerThatRaisesIsReportedOnceAndItsTimerTicksOn) {
    RecordingErrorReporter reporter;
    TThreadedTimer timer;
    int ticks = 0;
    failFirstTick(timer, ticks, QStringLiteral("Čidlo káry 1 nelze přečíst."));
    timer.setEnabled(true);
    ASSERT_TRUE(serveUntil([&] { return ticks >= 4; }));
    EXPECT_EQ(reporter.messages(), QStringList{QStringLiteral("Čidlo káry 1 nelze přečíst.")});
    EXPECT_TRUE(timer.enabled());
}

TEST(ThreadedTimer, TheWorkerIsReleasedBeforeTheErrorIsShown) {
    // The report stands in for a message box: the operator reads it for as long as it takes, and
    // meanwhile the same timer must go on ticking rather than wait for its failed tick to end.
    RecordingErrorReporter reporter;
    TThreadedTimer timer;
    int ticks = 0;
    failFirstTick(timer, ticks, QStringLiteral("Displej nelze obnovit."));
    bool tickedWhileShown = false;
    reporter.onReport = [&](const QString&) { tickedWhileShown = serveUntil([&] { return ticks >= 3; }); };
    timer.setEnabled(true);
    ASSERT_TRUE(serveUntil([&] { return reporter.count() > 0; }));
    EXPECT_TRUE(tickedWhileShown);
    EXPECT_EQ(reporter.count(), 1);
}

TEST(ThreadedTimer, AHandlerFailingAtEveryTickDoesNotStackItsMessage) {
    // While the message box is open its event loop serves the timer's further ticks, and each fails
    // the same way again.
    RecordingErrorReporter reporter;
    TThreadedTimer timer;
    timer.setInterval(5);
    int ticks = 0;
    timer.setOnTimer([&] {
        ++ticks;
        throw UserError(QStringLiteral("Port LPT nelze přečíst."));
    });
    int ticksWhileShown = 0;
    bool shown = false;
    reporter.onReport = [&](const QString&) {
        if (shown)
            return; // a second box, which is the fault looked for here
        shown = true;
        const int before = ticks;
        serveUntil([&] { return ticks >= before + 3; });
        ticksWhileShown = ticks - before;
        timer.setEnabled(false);
    };
    timer.setEnabled(true);
    ASSERT_TRUE(serveUntil([&] { return !timer.enabled(); }));
    EXPECT_GE(ticksWhileShown, 3);
    EXPECT_EQ(reporter.count(), 1);
}

TEST(ThreadedTimer, AHandlerThatRaisesAndDestroysItsTimerIsReported) {
    RecordingErrorReporter reporter;
    auto* timer = new TThreadedTimer;
    timer->setInterval(5);
    timer->setOnTimerEvent([](QObject* sender) {
        delete sender;
        throw UserError(QStringLiteral("Časovač skončil."));
    });
    timer->setEnabled(true);
    ASSERT_TRUE(serveUntil([&] { return reporter.count() > 0; }));
    EXPECT_EQ(reporter.messages(), QStringList{QStringLiteral("Časovač skončil.")});
}
