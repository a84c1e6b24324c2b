#include "hardware/ExternalStartWatch.h"

#include "base/ITimer.h"
#include "config/TSettings.h"
#include "hardware/TSmallPort.h"

ExternalStartWatch::ExternalStartWatch(ITimer& timer, TSmallPort& port, const TSettings& settings,
                                       std::function<void()> startStop)
    : m_timer(timer), m_port(port), m_settings(settings), m_startStop(std::move(startStop)) {
    m_timer.setInterval(IntervalMs);
    m_timer.setOnTimer([this] { ExtStartTimer(); });
}

void ExternalStartWatch::applySetting() {
    setEnabled(m_settings.Ostatni.ExtStart);
}

void ExternalStartWatch::setEnabled(bool on) {
    m_timer.setEnabled(on);
}

bool ExternalStartWatch::enabled() const {
    return m_timer.enabled();
}

void ExternalStartWatch::ExtStartTimer() {
    const quint8 status = m_port.ReadPort(quint16(m_port.portBase() + 1));
    if (!(status & ButtonMask)) {
        m_armed = true;
        return;
    }
    if (!m_armed || !m_settings.Ostatni.ExtStart)
        return;
    // Disarmed before the action, which may block for the whole light sequence: the press that
    // started a race must not stop it at the next look.
    m_armed = false;
    if (m_startStop)
        m_startStop();
}
