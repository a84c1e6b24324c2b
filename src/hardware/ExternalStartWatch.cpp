#include "hardware/ExternalStartWatch.h"

#include "base/ITimer.h"
#include "base/MonotonicClock.h"
#include "config/TSettings.h"
#include "hardware/TSmallPort.h"

ExternalStartWatch::ExternalStartWatch(ITimer& timer, TSmallPort& port, const TSettings& settings,
                                       MonotonicClock& clock, std::function<void(qint64 pressUs)> startStop)
    : m_timer(timer), m_port(port), m_settings(settings), m_clock(clock), m_startStop(std::move(startStop)) {
    m_timer.setInterval(IntervalMs);
    m_timer.setProbe([this] { return buttonProbe(); });
    m_timer.setOnTimer([this] { ExtStartTimer(); });
}

void ExternalStartWatch::applySetting() {
    setEnabled(m_settings.Ostatni.ExtStart);
}

void ExternalStartWatch::setEnabled(bool on) {
    m_acting = m_settings.Ostatni.ExtStart;
    m_timer.setEnabled(on);
}

bool ExternalStartWatch::enabled() const {
    return m_timer.enabled();
}

bool ExternalStartWatch::buttonProbe() {
    qint64 now = m_clock.nowUs();
    if (!(m_port.sampleStatus(now) & ButtonMask)) {
        m_armed = true;
        return false;
    }
    if (!m_armed || !m_acting)
        return false;
    // Disarmed at the press, before the action, which may block for the whole light sequence: the
    // press that started a race must not stop it at the next look.
    m_armed = false;
    m_pressUs = now;
    return true;
}

void ExternalStartWatch::ExtStartTimer() {
    if (m_startStop)
        m_startStop(m_pressUs);
}
