#include "base/MessageTimerFactory.h"

#include "base/MessageTimer.h"

MessageTimerFactory& MessageTimerFactory::instance() {
    static MessageTimerFactory factory;
    return factory;
}

std::unique_ptr<ITimer> MessageTimerFactory::createTimer(const QString& name, TimerKind) {
    auto timer = std::make_unique<MessageTimer>();
    timer->setObjectName(name);
    return timer;
}
