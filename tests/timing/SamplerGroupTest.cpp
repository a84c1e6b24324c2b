// The sensors' poll on real threads: the probe runs on its worker while the main thread is busy, the
// main thread hears only of hits, and a hit seen while it was busy reaches it afterwards with the
// instant it was seen.
#include "base/MonotonicClock.h"
#include "timing/ThreadedTimerFactory.h"

#include <QCoreApplication>
#include <QtTest>

#include <gtest/gtest.h>

#include <atomic>

namespace {

constexpr int WaitMs = 30000; // generous: a busy machine is slow, never wrong

// Spins the calling (main) thread without serving its events until done() holds.
template <typename Done>
bool busyUntil(Done done) {
    const qint64 limit = SteadyClock::instance().nowMs() + WaitMs;
    while (!done()) {
        if (SteadyClock::instance().nowMs() > limit)
            return false;
    }
    return true;
}

// The shared sensor worker and a sampler of its own kind must both keep the probe's rules.
class ProbedTimer : public ::testing::TestWithParam<TimerKind> {};

} // namespace

TEST_P(ProbedTimer, AHitSeenWhileTheMainThreadIsBusyArrivesWithItsInstant) {
    ThreadedTimerFactory factory;
    std::unique_ptr<ITimer> timer = factory.createTimer(QStringLiteral("Timer1"), GetParam());
    std::atomic<bool> sensor{false};
    std::atomic<int> probes{0};
    std::atomic<qint64> seenUs{-1};
    int handled = 0;
    qint64 handledStamp = -1;
    timer->setInterval(2);
    timer->setAllowZero(true);
    timer->setProbe([&] {
        ++probes;
        if (!sensor)
            return false;
        seenUs = SteadyClock::instance().nowUs();
        return true;
    });
    timer->setOnTimer([&] {
        ++handled;
        handledStamp = seenUs;
        timer->setEnabled(false);
    });
    timer->setEnabled(true);

    // With nothing at the sensor, the probes run and the main thread hears nothing.
    ASSERT_TRUE(QTest::qWaitFor([&] { return probes >= 20; }, WaitMs));
    QCoreApplication::processEvents();
    EXPECT_EQ(handled, 0);

    // A pulse that begins and ends while the main thread is busy.
    const qint64 pulseFrom = SteadyClock::instance().nowUs();
    sensor = true;
    ASSERT_TRUE(busyUntil([&] { return seenUs >= 0; }));
    sensor = false;
    const qint64 pulseTo = SteadyClock::instance().nowUs();

    ASSERT_TRUE(QTest::qWaitFor([&] { return handled > 0; }, WaitMs));
    EXPECT_EQ(handled, 1);
    EXPECT_GE(handledStamp, pulseFrom);
    EXPECT_LE(handledStamp, pulseTo);
}

INSTANTIATE_TEST_SUITE_P(Kinds, ProbedTimer, ::testing::Values(TimerKind::Sensor, TimerKind::Sampler),
                         [](const ::testing::TestParamInfo<TimerKind>& info) {
                             return info.param == TimerKind::Sensor ? "SharedSensorWorker" : "OwnWorker";
                         });
