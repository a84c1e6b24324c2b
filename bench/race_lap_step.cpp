// Prints what one sample step of a lap channel costs on the main thread: the idle step (a status
// read that sees no hit) and the step that closes a lap (list append included).
#include "base/ITimer.h"
#include "base/MonotonicClock.h"
#include "config/TSettings.h"
#include "hardware/PortBackend.h"
#include "hardware/StartLights.h"
#include "hardware/TSmallPort.h"
#include "platform/SoundPlayer.h"
#include "timing/LapList.h"
#include "timing/RaceView.h"
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

class SilentView : public RaceView {
public:
    void setLamp(Lamp, bool) override {}
    void repaintStartGroup() override {}
    void setRunning(bool) override {}
    void setButtonEnabled(RaceButton, bool) override {}
    void setClockDisplay(ClockDisplay, int) override {}
    int clockDisplay(ClockDisplay) const override { return 0; }
    int raceMinutes() const override { return 10; }
    void processPendingEvents() override {}
    void showError(const QString&) override {}
};

class SilentSound : public SoundPlayer {
public:
    void close() override {}
    void setFileName(const QString&) override {}
    QString fileName() const override { return QString(); }
    void open() override {}
    void play() override {}
};

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    TSettings settings;
    settings.Semafor.Pouzij = false;
    settings.Ostatni.UlozitZavody = false;
    TSmallPort port(std::make_unique<IdlePort>());
    port.setOpened(true);
    port.setPortBase(888);
    ManualTimer timers[11];
    RaceTimers raceTimers;
    for (int k = 0; k < 4; ++k) {
        raceTimers.samplers[k] = &timers[k];
        raceTimers.deadTimers[k] = &timers[4 + k];
    }
    raceTimers.display = &timers[8];
    raceTimers.hwLog0 = &timers[9];
    raceTimers.hwLog1 = &timers[10];
    LapList lists[4];
    SilentView view;
    SilentSound sound;
    StartLights lights(port, view, [](int) {});
    TRace race(RaceDeps{settings,
                        port,
                        SteadyClock::instance(),
                        raceTimers,
                        {&lists[0], &lists[1], &lists[2], &lists[3]},
                        sound,
                        lights,
                        view,
                        nullptr,
                        QString(),
                        {}});
    race.start();

    constexpr int idleSteps = 1'000'000;
    QElapsedTimer elapsed;
    elapsed.start();
    for (int i = 0; i < idleSteps; ++i)
        race.sampleStep(1 + (i & 3));
    const double idleNs = double(elapsed.nsecsElapsed()) / idleSteps;

    constexpr int laps = 100'000;
    TLapChannel& channel = race.channel(1);
    elapsed.restart();
    for (int i = 0; i < laps; ++i) {
        channel.PendingHit = true;
        race.sampleStep(1);
    }
    const double lapNs = double(elapsed.nsecsElapsed()) / laps;

    std::printf("%-34s %12s\n", "step", "ns per call");
    std::printf("%-34s %12.0f\n", "sample step, no hit", idleNs);
    std::printf("%-34s %12.0f\n", "sample step closing a lap", lapNs);
    std::printf("(%d laps listed; a 2 ms sampling period is %d ns)\n", lists[0].count(), 2'000'000);
    return 0;
}
