#include "RecordingErrorReporter.h"

#include "base/MessageTimer.h"
#include "base/UserError.h"

#include <QTest>

#include <gtest/gtest.h>

#include <functional>

// Real timers on real time: only which ticks come and how many are checked, never when. Where a tick
// must not come, a second timer of the same interval ticking beside the first shows that it had its
// chances.

namespace {

// Generous: a busy machine is slow, never wrong.
constexpr int WaitMs = 30000;

// Serves events until done() holds; false if it never did within the generous limit.
bool serveUntil(const std::function<bool()>& done) {
    return QTest::qWaitFor(done, WaitMs);
}

struct Counted {
    MessageTimer timer;
    int ticks = 0;

    explicit Counted(quint32 intervalMs) {
        timer.setOnTimer([this] { ++ticks; });
        timer.setInterval(intervalMs);
    }
    // Serves events until count more ticks have come.
    bool serveTicks(int count) {
        const int target = ticks + count;
        return QTest::qWaitFor([&] { return ticks >= target; }, WaitMs);
    }
};

struct Witness : Counted {
    explicit Witness(quint32 intervalMs) : Counted(intervalMs) {
        timer.setAllowZero(true);
        timer.setEnabled(true);
    }
};

} // namespace

TEST(MessageTimer, TicksOnlyWhileEnabled) {
    Counted c(10);
    {
        Witness witness(10);
        ASSERT_TRUE(witness.serveTicks(3));
        EXPECT_EQ(c.ticks, 0);
    }
    c.timer.setEnabled(true);
    EXPECT_TRUE(c.serveTicks(2));
    c.timer.setEnabled(false);
    const int seen = c.ticks;
    Witness witness(10);
    ASSERT_TRUE(witness.serveTicks(3));
    EXPECT_EQ(c.ticks, seen);
}

TEST(MessageTimer, ZeroIntervalNeedsAllowZero) {
    Counted c(0);
    c.timer.setEnabled(true);
    EXPECT_TRUE(c.timer.enabled());
    {
        Witness witness(0);
        ASSERT_TRUE(witness.serveTicks(20));
        EXPECT_EQ(c.ticks, 0);
    }
    c.timer.setAllowZero(true);
    EXPECT_TRUE(c.serveTicks(1));
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
    EXPECT_TRUE(QTest::qWaitFor([&] { return ticks > 0; }, WaitMs));
    Witness witness(5);
    ASSERT_TRUE(witness.serveTicks(3));
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
