// What the sensors' shared worker costs: N probed samplers at 2 ms whose probes find nothing (as with
// no kart near a sensor), against a bare thread that only sleeps to the same beat. Prints the
// process's CPU share and the cost per beat.
//
//   sensor_worker [seconds] [probes]    (defaults: 10 s, 4 probes)

#include "base/MonotonicClock.h"
#include "lap/cpu_time.h"
#include "timing/ThreadedTimerFactory.h"

#include <QCoreApplication>
#include <QTimer>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

void printFigures(const char* what, double cpu, double seconds, long long beats) {
    std::printf("%-34s %6.2f %% of a core, %5.1f us per beat (%lld beats)\n", what, 100 * cpu / seconds,
                1e6 * cpu / double(std::max(1LL, beats)), beats);
}

} // namespace

int main(int argc, char* argv[]) {
    const int seconds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 10;
    const int probes = argc > 2 ? std::max(1, std::atoi(argv[2])) : 4;
    QCoreApplication app(argc, argv);

    // The floor: a thread that wakes on the 2 ms beat and does nothing.
    const LapBench::BareBeat floor = LapBench::measureBareBeat(seconds);
    printFigures("bare thread on a 2 ms beat", floor.cpuSeconds, seconds, floor.beats);

    ThreadedTimerFactory factory;
    std::vector<std::unique_ptr<ITimer>> samplers;
    std::atomic<long long> probed{0};
    for (int i = 0; i < probes; ++i) {
        samplers.push_back(factory.createTimer(QStringLiteral("Timer%1").arg(i + 1), TimerKind::Sensor));
        samplers.back()->setInterval(2);
        samplers.back()->setProbe([&probed] {
            ++probed;
            SteadyClock::instance().nowUs();
            return false;
        });
    }
    const double cpuFrom = LapBench::processCpuSeconds();
    for (auto& sampler : samplers)
        sampler->setEnabled(true);
    QTimer::singleShot(seconds * 1000, &app, &QCoreApplication::quit);
    app.exec();
    const double cpu = LapBench::processCpuSeconds() - cpuFrom;
    samplers.clear();
    printFigures(qPrintable(QStringLiteral("sensor worker, %1 probes").arg(probes)), cpu, seconds,
                 probed / probes);
    return 0;
}
