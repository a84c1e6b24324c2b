#include "hardware/ControlPulse.h"

#include "base/ITimer.h"
#include "config/TSettings.h"
#include "hardware/TSmallPort.h"

namespace {
constexpr quint8 PulseBit = 0x40; // data bit 6, pin 8
}

ControlPulse::ControlPulse(TSmallPort& port, ITimer& hwLog0Timer, ITimer& hwLog1Timer)
    : m_port(port), m_log0(hwLog0Timer), m_log1(hwLog1Timer) {
    m_log0.setAllowZero(true);
    m_log1.setAllowZero(true);
    m_log0.setOnTimer([this] { HwLOG0TimerTimer(); });
    m_log1.setOnTimer([this] { HWLOG1TimerTimer(); });
}

void ControlPulse::applyIntervals(const TSettings& settings) {
    m_log0.setInterval(quint32(qMax(0, settings.HW.LOG0)));
    m_log1.setInterval(quint32(qMax(0, settings.HW.LOG1)));
}

void ControlPulse::startAfterStartup(const TSettings& settings) {
    if (settings.HW.Rizeni)
        m_log0.setEnabled(true);
}

void ControlPulse::HwLOG0TimerTimer() {
    m_log0.setEnabled(false);
    const quint8 value = m_port.ReadPort(m_port.portBase());
    // Adding 64 would carry into bit 7 when a lamp mask already holds bit 6 high.
    m_port.WritePort(m_port.portBase(), quint8(value | PulseBit));
    m_log1.setEnabled(true);
}

void ControlPulse::HWLOG1TimerTimer() {
    m_log1.setEnabled(false);
    const quint8 value = m_port.ReadPort(m_port.portBase());
    m_port.WritePort(m_port.portBase(), quint8(value & ~PulseBit));
}

void ControlPulse::SpinLOG0Change(int ms) {
    m_log0.setInterval(quint32(qMax(0, ms)));
}

void ControlPulse::SpinLOG1Change(int ms) {
    m_log1.setInterval(quint32(qMax(0, ms)));
}
