#include "FakePortBackend.h"

#include "base/MonotonicClock.h"

#include <cerrno>

FakePortBackend::FakePortBackend(const MonotonicClock& clock, quint16 base) : m_clock(clock), m_base(base) {}

int FakePortBackend::open() {
    m_open = m_openError == 0;
    return m_openError;
}

int FakePortBackend::read(quint16 address, quint8& value) {
    if (address == m_base) {
        value = m_data;
    } else if (address == m_base + 1) {
        ++m_statusReads;
        value = statusAt(m_clock.nowMs());
    } else {
        return ENXIO;
    }
    return 0;
}

int FakePortBackend::write(quint16 address, quint8 value) {
    if (address != m_base)
        return ENXIO;
    m_data = value;
    m_writes.push_back(Write{m_clock.nowMs(), value});
    return 0;
}

QString FakePortBackend::name() const {
    return QStringLiteral("fake port at %1").arg(m_base);
}

void FakePortBackend::setStatusAt(qint64 fromMs, quint8 status) {
    m_levels[fromMs] = status;
}

void FakePortBackend::setStatus(quint8 status) {
    setStatusAt(m_clock.nowMs(), status);
}

void FakePortBackend::addPulse(qint64 fromMs, qint64 toMs, quint8 mask) {
    m_pulses.push_back(Pulse{fromMs, toMs, mask});
}

quint8 FakePortBackend::statusAt(qint64 ms) const {
    quint8 status = 0;
    auto it = m_levels.upper_bound(ms);
    if (it != m_levels.begin())
        status = std::prev(it)->second;
    for (const Pulse& pulse : m_pulses) {
        if (pulse.from <= ms && ms < pulse.to)
            status |= pulse.mask;
    }
    return status;
}
