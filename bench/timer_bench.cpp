// Measures the sampling timers as a race runs them: four 2 ms samplers (tpHighest, AllowZero) and the
// 251 ms display tick, their handlers doing a little work on the main thread. Prints the tick period
// distribution per kind and the process's CPU time per second of run.
//
//   timer_bench [seconds]     (default 30)

#include "platform/EventLoopChoice.h"
#include "platform/ThreadSlice.h"
#include "timing/ThdTimer.h"

#include <QCoreApplication>
#include <QTimer>

#include <sys/resource.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

double cpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    auto seconds = [](const timeval& tv) { return double(tv.tv_sec) + double(tv.tv_usec) / 1e6; };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

struct Kind {
    const char* name;
    std::vector<double> periodsMs;
};

double percentile(std::vector<double>& sorted, double p) {
    if (sorted.empty())
        return 0;
    const size_t index = std::min(sorted.size() - 1, size_t(p * double(sorted.size() - 1) + 0.5));
    return sorted[index];
}

volatile unsigned g_sink = 0;

// Roughly what a lap channel does per sample when no kart passes: a port read and a few tests.
void littleWork() {
    unsigned value = g_sink;
    for (int i = 0; i < 50; ++i)
        value = value * 1103515245u + 12345u;
    g_sink = value;
}

} // namespace

int main(int argc, char* argv[]) {
    // The same event loop and scheduler slice as the station, so the figures speak for it.
    EventLoopChoice::preferPlainUnixDispatcher();
    ThreadSlice::requestForCurrentThread(ThreadSlice::ShortMicroseconds);
    QCoreApplication app(argc, argv);
    const int seconds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 30;

    Kind samplers{"4 x 2 ms (tpHighest)", {}};
    Kind display{"251 ms (tpNormal)", {}};
    std::vector<std::unique_ptr<TThreadedTimer>> timers;
    std::vector<Clock::time_point> lastTick(5);

    auto addTimer = [&](int index, quint32 interval, bool allowZero, TThreadedTimer::TThreadPriority priority,
                        Kind& kind) {
        auto timer = std::make_unique<TThreadedTimer>();
        timer->setAllowZero(allowZero);
        timer->setInterval(interval);
        timer->setThreadPriority(priority);
        timer->setOnTimer([&, index] {
            const Clock::time_point now = Clock::now();
            if (lastTick[index] != Clock::time_point())
                kind.periodsMs.push_back(
                    std::chrono::duration<double, std::milli>(now - lastTick[index]).count());
            lastTick[index] = now;
            littleWork();
        });
        timers.push_back(std::move(timer));
    };
    for (int i = 0; i < 4; ++i)
        addTimer(i, 2, true, TThreadedTimer::tpHighest, samplers);
    addTimer(4, 251, false, TThreadedTimer::tpNormal, display);

    const double cpuBefore = cpuSeconds();
    const Clock::time_point start = Clock::now();
    for (auto& timer : timers)
        timer->setEnabled(true);
    QTimer::singleShot(seconds * 1000, &app, [&] {
        for (auto& timer : timers)
            timer->setEnabled(false);
        app.quit();
    });
    app.exec();
    const double wall = std::chrono::duration<double>(Clock::now() - start).count();
    const double cpu = cpuSeconds() - cpuBefore;
    timers.clear();

    std::printf("Run: %.1f s\n\n", wall);
    std::printf("%-22s %8s %10s %10s %10s\n", "Timer", "ticks", "median ms", "p99 ms", "max ms");
    for (Kind* kind : {&samplers, &display}) {
        std::vector<double>& p = kind->periodsMs;
        std::sort(p.begin(), p.end());
        std::printf("%-22s %8zu %10.3f %10.3f %10.3f\n", kind->name, p.size(), percentile(p, 0.5),
                    percentile(p, 0.99), p.empty() ? 0.0 : p.back());
    }
    std::printf("\nProcess CPU time: %.3f s per s of run (%.1f %% of one core)\n", cpu / wall,
                100 * cpu / wall);
    return 0;
}
