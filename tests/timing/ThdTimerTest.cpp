#include "RecordingErrorReporter.h"

#include "base/UserError.h"
#include "timing/ThdTimer.h"

#include <QCoreApplication>
#include <QSet>
#include <QTest>
#include <QThread>
#include <QVariant>

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>

// These run real worker threads on real time, so they check only what must hold however slowly the
// machine runs: which ticks come, in which order, and how many. Where a tick must not come, a second
// timer ticking beside the first shows that the workers ran and the main thread served its events in
// the meantime; where a tick must be caught on its way to the main thread, it is seen as the main
// thread delivers it.

namespace {

// Generous: a busy machine is slow, never wrong.
constexpr int WaitMs = 30000;

// Serves events until done() holds; false if it never did within the generous limit.
bool serveUntil(const std::function<bool()>& done) {
    return QTest::qWaitFor(done, WaitMs);
}

struct Counted {
    std::unique_ptr<TThreadedTimer> timer = std::make_unique<TThreadedTimer>();
    int ticks = 0;
    Counted() {
        timer->setOnTimer([this] { ++ticks; });
    }
    // Serves events until count more ticks have come.
    bool serveTicks(int count) {
        const int target = ticks + count;
        return QTest::qWaitFor([&] { return ticks >= target; }, WaitMs);
    }
};

// A fast timer ticking beside the one under test.
struct Witness : Counted {
    explicit Witness(quint32 intervalMs = 2) {
        timer->setAllowZero(true);
        timer->setInterval(intervalMs);
        timer->setEnabled(true);
    }
};

// Sees every event the main thread delivers just before it is delivered, the ticks that workers hand
// over among them. A timer's ticks are told apart by their receiver: the object that was being
// delivered to when the timer's handler ran.
class DeliveryWatch : public QObject {
public:
    DeliveryWatch() { QCoreApplication::instance()->installEventFilter(this); }
    ~DeliveryWatch() override { QCoreApplication::instance()->removeEventFilter(this); }

    // Called from a tick handler: the receiver that carries this timer's ticks.
    QObject* receiverNow() const { return m_receiver; }

    // Runs before each delivery. Returning true holds the event back for good: it is never delivered,
    // as if the main thread had not got round to it. The receiver may be destroyed here only then.
    std::function<bool(QObject* receiver)> beforeDelivery;

protected:
    bool eventFilter(QObject* watched, QEvent*) override {
        m_receiver = watched;
        return beforeDelivery && beforeDelivery(watched);
    }

private:
    QObject* m_receiver = nullptr;
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
    Witness witness;
    ASSERT_TRUE(witness.serveTicks(20));
    EXPECT_EQ(c.ticks, 0);
}

TEST(ThreadedTimer, FirstTickComesOneFullIntervalAfterEnabling) {
    // Enabled together, a timer with a tenth of the interval ticks first; one that ticked at once on
    // enabling would come before it.
    TThreadedTimer timer;
    timer.setInterval(1000);
    TThreadedTimer tenth;
    tenth.setInterval(100);
    QStringList order;
    timer.setOnTimerEvent([&](QObject* sender) {
        EXPECT_EQ(sender, &timer);
        order << QStringLiteral("timer");
    });
    tenth.setOnTimer([&] { order << QStringLiteral("tenth"); });
    timer.setEnabled(true);
    tenth.setEnabled(true);
    ASSERT_TRUE(QTest::qWaitFor([&] { return order.contains(QStringLiteral("timer")); }, WaitMs));
    EXPECT_EQ(order.first(), QStringLiteral("tenth"));
}

TEST(ThreadedTimer, ReEnablingOrSettingTheSameIntervalDoesNotRestartTheWait) {
    // Were the wait restarted, repeating the setting faster than the interval would starve the ticks.
    for (const bool viaInterval : {false, true}) {
        Counted c;
        c.timer->setInterval(150);
        c.timer->setEnabled(true);
        ASSERT_TRUE(QTest::qWaitFor(
            [&] {
                if (viaInterval)
                    c.timer->setInterval(150);
                else
                    c.timer->setEnabled(true);
                return c.ticks >= 3;
            },
            WaitMs))
            << (viaInterval ? "same interval" : "enabled again");
    }
}

TEST(ThreadedTimer, ADifferentIntervalRestartsTheFullWait) {
    // The timer runs at 2000 ms. Halfway through its first wait it gets 2400 ms, and a timer of 1700 ms
    // starts beside it: that one ticks first only if the new interval is waited in full from the change.
    // Kept to the old wait, the timer would tick 1000 ms after the change; counted from the enabling,
    // 1400 ms after it.
    TThreadedTimer timer;
    QStringList order;
    bool changed = false;
    timer.setOnTimer([&] {
        if (changed)
            order << QStringLiteral("timer");
    });
    timer.setInterval(2000);
    Counted half;
    half.timer->setInterval(1000);
    timer.setEnabled(true);
    half.timer->setEnabled(true);
    ASSERT_TRUE(half.serveTicks(1));

    TThreadedTimer beside;
    beside.setInterval(1700);
    beside.setOnTimer([&] { order << QStringLiteral("beside"); });
    changed = true;
    timer.setInterval(2400);
    beside.setEnabled(true);
    EXPECT_TRUE(timer.enabled());
    EXPECT_EQ(timer.interval(), 2400u);
    ASSERT_TRUE(QTest::qWaitFor([&] { return order.contains(QStringLiteral("timer")); }, WaitMs));
    EXPECT_EQ(order.first(), QStringLiteral("beside"));
}

TEST(ThreadedTimer, ZeroIntervalRunsOnlyWithAllowZero) {
    Counted idle;
    idle.timer->setInterval(0);
    idle.timer->setEnabled(true);
    EXPECT_TRUE(idle.timer->enabled());

    Counted running;
    running.timer->setAllowZero(true);
    running.timer->setInterval(0);
    running.timer->setEnabled(true);
    EXPECT_TRUE(running.serveTicks(20));
    EXPECT_EQ(idle.ticks, 0);
}

TEST(ThreadedTimer, DisabledTimerStopsTicking) {
    Counted c;
    c.timer->setInterval(2);
    c.timer->setEnabled(true);
    ASSERT_TRUE(c.serveTicks(3));
    c.timer->setEnabled(false);
    // Not even a tick already on its way to the main thread runs once setEnabled(false) has returned.
    const int ticksAtDisable = c.ticks;
    Witness witness;
    ASSERT_TRUE(witness.serveTicks(20));
    EXPECT_EQ(c.ticks, ticksAtDisable);
}

TEST(ThreadedTimer, ATickHandedOverAfterTheTimerWasDisabledIsNotRun) {
    DeliveryWatch watch;
    TThreadedTimer timer;
    timer.setInterval(5);
    int ticks = 0;
    QObject* carrier = nullptr;
    timer.setOnTimer([&] {
        ++ticks;
        carrier = watch.receiverNow();
    });
    bool disabledInFlight = false;
    watch.beforeDelivery = [&](QObject* receiver) {
        // The second tick is handed over and about to run: the timer is disabled before it does.
        if (carrier && receiver == carrier && !disabledInFlight) {
            timer.setEnabled(false);
            disabledInFlight = true;
        }
        return false;
    };
    timer.setEnabled(true);
    ASSERT_TRUE(QTest::qWaitFor([&] { return disabledInFlight; }, WaitMs));
    EXPECT_EQ(ticks, 1);
}

TEST(ThreadedTimer, AWorkerHandsOverOneTickAtATime) {
    // While a tick has not run, its worker hands over no other: held back, the second tick is the last.
    DeliveryWatch watch;
    TThreadedTimer timer;
    timer.setAllowZero(true);
    timer.setInterval(1);
    int ticks = 0;
    QObject* carrier = nullptr;
    timer.setOnTimer([&] {
        ++ticks;
        carrier = watch.receiverNow();
    });
    int heldBack = 0;
    watch.beforeDelivery = [&](QObject* receiver) {
        if (!carrier || receiver != carrier)
            return false;
        ++heldBack;
        return true;
    };
    timer.setEnabled(true);
    ASSERT_TRUE(QTest::qWaitFor([&] { return heldBack > 0; }, WaitMs));
    Witness witness;
    ASSERT_TRUE(witness.serveTicks(20));
    EXPECT_EQ(ticks, 1);
    EXPECT_EQ(heldBack, 1);
    // The worker still waits for the held tick; destroying the timer must end it all the same.
    watch.beforeDelivery = nullptr;
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
    ASSERT_TRUE(second.serveTicks(3));
    EXPECT_EQ(firstTicks, 1);
}

TEST(ThreadedTimer, ItsOwnTicksNeverNestWhileTheHandlerServesEvents) {
    Witness witness(1);
    TThreadedTimer timer;
    timer.setAllowZero(true);
    timer.setInterval(1);
    int depth = 0;
    int deepest = 0;
    int ticks = 0;
    bool served = true;
    timer.setOnTimer([&] {
        ++depth;
        ++ticks;
        deepest = std::max(deepest, depth);
        // Long enough for the worker to have handed over another tick, had it not waited for this one.
        served = witness.serveTicks(3) && served;
        --depth;
    });
    timer.setEnabled(true);
    ASSERT_TRUE(QTest::qWaitFor([&] { return ticks >= 5; }, WaitMs));
    timer.setEnabled(false);
    EXPECT_TRUE(served);
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
    ASSERT_TRUE(QTest::qWaitFor([&] { return ticks >= 3; }, WaitMs));
    timer.reset();
    const int ticksAtDestruction = ticks;
    Witness witness;
    ASSERT_TRUE(witness.serveTicks(10));
    EXPECT_EQ(ticks, ticksAtDestruction);
}

TEST(ThreadedTimer, DestroyingWhileATickIsInFlightDropsTheTick) {
    DeliveryWatch watch;
    int ticks = 0;
    QObject* carrier = nullptr;
    auto timer = std::make_unique<TThreadedTimer>();
    timer->setInterval(2);
    timer->setOnTimer([&] {
        ++ticks;
        carrier = watch.receiverNow();
    });
    bool destroyed = false;
    watch.beforeDelivery = [&](QObject* receiver) {
        if (!carrier || receiver != carrier)
            return false;
        // The second tick is handed over and its worker waits for it: the timer goes first.
        timer.reset();
        carrier = nullptr;
        destroyed = true;
        return true;
    };
    timer->setEnabled(true);
    ASSERT_TRUE(QTest::qWaitFor([&] { return destroyed; }, WaitMs));
    watch.beforeDelivery = nullptr;
    Witness witness;
    ASSERT_TRUE(witness.serveTicks(10));
    EXPECT_EQ(ticks, 1);
}

TEST(ThreadedTimer, TimersCanBeDestroyedFromAnotherTimersTick) {
    DeliveryWatch watch;
    std::vector<std::unique_ptr<TThreadedTimer>> samplers;
    int samplerTicks = 0;
    QSet<QObject*> carriers;
    for (int i = 0; i < 4; ++i) {
        auto sampler = std::make_unique<TThreadedTimer>();
        sampler->setThreadPriority(TThreadedTimer::tpHighest);
        sampler->setAllowZero(true);
        sampler->setInterval(2);
        sampler->setOnTimer([&] {
            ++samplerTicks;
            carriers.insert(watch.receiverNow());
        });
        sampler->setEnabled(true);
        samplers.push_back(std::move(sampler));
    }
    ASSERT_TRUE(QTest::qWaitFor([&] { return carriers.size() == 4; }, WaitMs));
    // From now on the samplers' ticks are held back, so that every worker ends up blocked in a hand-over
    // that the main thread never serves.
    QSet<QObject*> blocked;
    watch.beforeDelivery = [&](QObject* receiver) {
        if (!carriers.contains(receiver))
            return false;
        blocked.insert(receiver);
        return true;
    };
    ASSERT_TRUE(QTest::qWaitFor([&] { return blocked.size() == 4; }, WaitMs));

    TThreadedTimer reaper;
    reaper.setInterval(5);
    bool reaped = false;
    reaper.setOnTimer([&] {
        samplers.clear();
        carriers.clear();
        reaped = true;
        reaper.setEnabled(false);
    });
    reaper.setEnabled(true);
    ASSERT_TRUE(QTest::qWaitFor([&] { return reaped; }, WaitMs));
    watch.beforeDelivery = nullptr;
    Witness witness;
    ASSERT_TRUE(witness.serveTicks(10));
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
    ASSERT_TRUE(QTest::qWaitFor([&] { return destroyed; }, WaitMs));
    // The main thread goes on serving ticks afterwards.
    Witness witness;
    ASSERT_TRUE(witness.serveTicks(3));
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
    ASSERT_TRUE(QTest::qWaitFor([&] { return ticks >= 3; }, WaitMs));
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
