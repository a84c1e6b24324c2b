// Prints what one sample step of a lap channel costs on the main thread: the idle step (a status
// read that sees no hit) and the step that closes a lap (list append included).
#include "base/ITimer.h"
#include "base/MonotonicClock.h"
#include "base/TimerFactory.h"
#include "config/TSettings.h"
#include "hardware/PortBackend.h"
#include "hardware/TSmallPort.h"
#include "lap/silent_station.h"
#include "timing/LapList.h"
#include "timing/Station.h"
#include "timing/TRace.h"

#include <QCoreApplication>
#include <QElapsedTimer>

#include <cstdio>
#include <memory>

namespace {

class IdlePort : public PortBackend {
public:
    int open() override { return 0; }
    void close() override {}
    int read(quint16, quint8& value) override {
        value = 0;
        return 0;
    }
    int write(quint16, quint8) override { return 0; }
    QString name() const override { return QStringLiteral("idle"); }
};

class ManualTimer : public ITimer {
public:
    bool enabled() const override { return m_enabled; }
    void setEnabled(bool on) override { m_enabled = on; }
    quint32 interval() const override { return m_interval; }
    void setInterval(quint32 ms) override { m_interval = ms; }
    bool allowZero() const override { return m_allowZero; }
    void setAllowZero(bool allow) override { m_allowZero = allow; }

private:
    bool m_enabled = false;
    bool m_allowZero = false;
    quint32 m_interval = 1000;
};

// Timers that never tick by themselves: the benchmark calls the sample step directly.
class ManualTimers : public TimerFactory {
public:
    std::unique_ptr<ITimer> createTimer(const QString&, TimerKind) override {
        return std::make_unique<ManualTimer>();
    }
};

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    TSettings settings;
    settings.Semafor.Pouzij = false;
    settings.Ostatni.UlozitZavody = false;
    SilentView view;
    SilentSound sound;
    ManualTimers timers;
    StationDeps deps{settings, QString(), std::make_unique<IdlePort>(), SteadyClock::instance(), timers,
                     sound,    view};
    deps.lightWait = [](int) {};
    Station station(std::move(deps));
    station.port().setOpened(true);
    station.port().setPortBase(888);
    TRace& race = station.race();
    race.start();

    constexpr int idleSteps = 1'000'000;
    QElapsedTimer elapsed;
    elapsed.start();
    for (int i = 0; i < idleSteps; ++i) {
        const int kart = 1 + (i & 3);
        if (race.sensorProbe(kart))
            race.takeHit(kart);
    }
    const double idleNs = double(elapsed.nsecsElapsed()) / idleSteps;

    constexpr int laps = 100'000;
    TLapChannel& channel = race.channel(1);
    elapsed.restart();
    for (int i = 0; i < laps; ++i) {
        channel.PendingHitUs = SteadyClock::instance().nowUs();
        if (race.sensorProbe(1))
            race.takeHit(1);
    }
    const int listed = station.lapList(1).count();
    const double lapNs = double(elapsed.nsecsElapsed()) / laps;

    std::printf("%-34s %12s\n", "step", "ns per call");
    std::printf("%-34s %12.0f\n", "sample step, no hit", idleNs);
    std::printf("%-34s %12.0f\n", "sample step closing a lap", lapNs);
    std::printf("(%d laps listed; a 2 ms sampling period is %d ns)\n", listed, 2'000'000);
    return 0;
}
