#pragma once

class ITimer;
class TSmallPort;
struct TSettings;

// The control pulse on data bit 6 (pin 8) after every lap: low for `HW/LOG0` ms, then high for
// `HW/LOG1` ms. The race restarts it by disabling and enabling `HwLOG0Timer`; this class owns the two
// edges. Only bit 6 is touched, so the other pins (lamps, resting value) keep their levels and a high
// bit 6 never carries into bit 7.
class ControlPulse {
public:
    // Installs the tick handlers of both timers; the timers stay owned by the main window.
    ControlPulse(TSmallPort& port, ITimer& hwLog0Timer, ITimer& hwLog1Timer);

    // Start-up: the intervals from `HW/LOG0` and `HW/LOG1`.
    void applyIntervals(const TSettings& settings);
    // Start-up: one pulse follows when `HW/Rizeni` is on.
    void startAfterStartup(const TSettings& settings);

    // Rising edge: set bit 6 and arm the high phase.
    void HwLOG0TimerTimer();
    // Falling edge: clear bit 6.
    void HWLOG1TimerTimer();

    // The settings window's fields change the intervals at once.
    void SpinLOG0Change(int ms);
    void SpinLOG1Change(int ms);

private:
    TSmallPort& m_port;
    ITimer& m_log0;
    ITimer& m_log1;
};
