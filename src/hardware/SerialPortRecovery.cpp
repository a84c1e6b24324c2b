#include "hardware/SerialPortRecovery.h"

#include "base/ITimer.h"
#include "base/UserError.h"
#include "hardware/TComPort.h"

SerialPortRecovery::SerialPortRecovery(TComPort& port, ITimer& pollTimer, std::function<bool()> needed,
                                       QObject* parent)
    : QObject(parent), m_port(port), m_pollTimer(pollTimer), m_needed(std::move(needed)) {
    m_pollTimer.setEnabled(false);
    m_pollTimer.setInterval(PollMs);
    m_pollTimer.setOnTimer([this] { poll(); });
    connect(&m_port, &TComPort::deviceLost, this, &SerialPortRecovery::onDeviceLost);
}

SerialPortRecovery::~SerialPortRecovery() = default;

bool SerialPortRecovery::polling() const {
    return m_pollTimer.enabled();
}

void SerialPortRecovery::onDeviceLost() {
    const bool reopening = m_needed && m_needed();
    m_pollTimer.setEnabled(reopening);
    emit lost(m_port.parameters().Port, reopening);
}

void SerialPortRecovery::poll() {
    if (m_port.isOpen()) {
        // Opened by a new START or by the settings window: nothing left to bring back.
        m_pollTimer.setEnabled(false);
        return;
    }
    if (!m_port.lost() || !(m_needed && m_needed())) {
        m_pollTimer.setEnabled(false);
        emit lost(m_port.parameters().Port, false);
        return;
    }
    try {
        m_port.open();
    } catch (const UserError&) {
        return; // not back yet
    }
    m_pollTimer.setEnabled(false);
    emit restored(m_port.parameters().Port);
}
