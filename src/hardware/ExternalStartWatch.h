#pragma once

#include <functional>

class ITimer;
class TSmallPort;
struct TSettings;

// The watch on the external start button (status bit 7): every 200 ms it reads the status register
// and, when the bit is set and `Ostatni/ExtStart` is on, performs the START/STOP action. One press is
// one action: after acting, the watch waits until it has seen the button released. It stays on while
// a race runs, so the same button starts and stops a race; the race turns it on at every STOP.
class ExternalStartWatch {
public:
    static constexpr unsigned IntervalMs = 200;
    static constexpr int ButtonMask = 0x80;

    // The timer is the main window's `ExtStart` (a plain message timer is fine); its interval is set
    // here and its tick handler installed. startStop is the main window's StartButton1Click.
    ExternalStartWatch(ITimer& timer, TSmallPort& port, const TSettings& settings,
                       std::function<void()> startStop);

    // At start-up and after every save of the settings: enabled exactly when `Ostatni/ExtStart` is on.
    void applySetting();
    void setEnabled(bool on);
    bool enabled() const;

    void ExtStartTimer();

private:
    ITimer& m_timer;
    TSmallPort& m_port;
    const TSettings& m_settings;
    std::function<void()> m_startStop;
    bool m_armed = true; // false from an action until the button is seen released
};
