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
    if ((status & ButtonMask) && m_settings.Ostatni.ExtStart) {
        // Off first: the action may block for the light sequence, and the STOP turns the watch back on.
        m_timer.setEnabled(false);
        if (m_startStop)
            m_startStop();
    }
}
