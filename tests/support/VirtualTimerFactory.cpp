#include "VirtualTimerFactory.h"

std::unique_ptr<ITimer> VirtualTimerFactory::createTimer(const QString& name, TimerKind) {
    auto timer = std::make_unique<VirtualTimer>(m_scheduler, name);
    m_timers.insert(name, timer.get());
    return timer;
}
