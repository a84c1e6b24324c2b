#include "VirtualTimer.h"

#include "VirtualScheduler.h"

VirtualTimer::VirtualTimer(VirtualScheduler& scheduler, QString name)
    : m_scheduler(scheduler), m_name(std::move(name)) {
    m_scheduler.add(this);
}

VirtualTimer::~VirtualTimer() {
    *m_alive = false;
    m_scheduler.remove(this);
}

void VirtualTimer::restart() {
    if (!runs() || m_inFlight) {
        m_due = Never;
        return;
    }
    m_due = m_scheduler.now() + qMax<qint64>(interval(), 1);
}

void VirtualTimer::tick(qint64 now) {
    // The worker waits a full interval after its tick was served; a handler that disables or
    // re-enables the timer overrides this.
    m_due = now + qMax<qint64>(interval(), 1);
    ++m_ticks;
    if (m_handOverDelayMs <= 0) {
        fire();
        return;
    }
    if (!probe())
        return;
    m_inFlight = true;
    m_due = Never;
    m_scheduler.at(now + m_handOverDelayMs, [this, alive = m_alive] {
        if (*alive)
            runHandedOver();
    });
}

void VirtualTimer::runHandedOver() {
    m_inFlight = false;
    restart();
    ErrorBoundary::report(fireCapturing());
}
