#include "VirtualTimerFactory.h"

#include "VirtualTimer.h"

std::unique_ptr<ITimer> VirtualTimerFactory::createTimer(const QString& name, TimerKind) {
    return std::make_unique<VirtualTimer>(m_scheduler, name);
}
