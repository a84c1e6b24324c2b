#include "lap/cpu_time.h"

#include <sys/resource.h>
#include <time.h>

#include <thread>

namespace LapBench {

namespace {

double cpuSecondsOf(int who) {
    rusage usage{};
    getrusage(who, &usage);
    auto seconds = [](const timeval& tv) { return double(tv.tv_sec) + double(tv.tv_usec) / 1e6; };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

} // namespace

double processCpuSeconds() {
    return cpuSecondsOf(RUSAGE_SELF);
}

double threadCpuSeconds() {
    return cpuSecondsOf(RUSAGE_THREAD);
}

BareBeat measureBareBeat(int seconds) {
    BareBeat result;
    result.beats = seconds * 500LL;
    std::thread sleeper([&result] {
        const double cpuFrom = threadCpuSeconds();
        timespec due{};
        clock_gettime(CLOCK_MONOTONIC, &due);
        for (long long i = 0; i < result.beats; ++i) {
            due.tv_nsec += 2000000;
            if (due.tv_nsec >= 1000000000) {
                due.tv_nsec -= 1000000000;
                ++due.tv_sec;
            }
            clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &due, nullptr);
        }
        result.cpuSeconds = threadCpuSeconds() - cpuFrom;
    });
    sleeper.join();
    return result;
}

} // namespace LapBench
