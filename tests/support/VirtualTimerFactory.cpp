#include "VirtualTimerFactory.h"

std::unique_ptr<ITimer> VirtualTimerFactory::createTimer(const QString& name, TimerKind kind) {
    auto timer = std::make_unique<VirtualTimer>(m_scheduler, name);
    m_timers.insert(name, timer.get());
    if (kind == TimerKind::Sensor) {
        m_samplers.insert(name);
        timer->setHandOverDelayMs(m_samplerHandOverDelayMs);
    }
    return timer;
}

void VirtualTimerFactory::setSamplerHandOverDelayMs(qint64 ms) {
    m_samplerHandOverDelayMs = ms;
    for (const QString& name : m_samplers) {
        if (VirtualTimer* sampler = m_timers.value(name))
            sampler->setHandOverDelayMs(ms);
    }
}
