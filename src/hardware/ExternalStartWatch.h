#pragma once

#include <QtGlobal>

#include <atomic>
#include <functional>

class ITimer;
class MonotonicClock;
class TSmallPort;
struct TSettings;

// The watch on the external start button (status bit 7). It is sampled like a lap sensor: every 2 ms
// its timer's probe reads the status register where the timer wakes and stamps a press with the
// clock, and only a press reaches the main thread, which performs the START/STOP action with the
// press's instant (a race started without lights starts there). One press is one action: after a
// press, the watch waits until it has seen the button released. It stays on while a race runs, so
// the same button starts and stops a race; the race turns it on at every STOP.
class ExternalStartWatch {
public:
    static constexpr unsigned IntervalMs = 2;
    static constexpr int ButtonMask = 0x80;

    // The timer is the main window's `ExtStart`, a sampler; its interval is set here and its probe and
    // tick handler installed. startStop is the main window's StartButton1Click, given the press's
    // clock instant in microseconds.
    ExternalStartWatch(ITimer& timer, TSmallPort& port, const TSettings& settings, MonotonicClock& clock,
                       std::function<void(qint64 pressUs)> startStop);

    // At start-up and after every save of the settings: enabled exactly when `Ostatni/ExtStart` is on.
    void applySetting();
    void setEnabled(bool on);
    bool enabled() const;

    // The probe, from any thread: true for a press that counts, with its instant kept for the handler.
    bool buttonProbe();
    void ExtStartTimer();

private:
    ITimer& m_timer;
    TSmallPort& m_port;
    const TSettings& m_settings;
    MonotonicClock& m_clock;
    std::function<void(qint64 pressUs)> m_startStop;
    // The probe's own state, and what it needs of the settings (taken on the main thread).
    std::atomic<bool> m_armed{true}; // false from a press until the button is seen released
    std::atomic<bool> m_acting{false};
    std::atomic<qint64> m_pressUs{0};
};
