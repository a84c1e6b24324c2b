#pragma once

#include "base/TimerFactory.h"

// Timers on the window system's message loop, whatever kind is asked for: for the parts that only
// time slow waits (a reply's timeout, a sweep of idle connections) and must not pull the station's
// sampling threads in with them.
class MessageTimerFactory : public TimerFactory {
public:
    static MessageTimerFactory& instance();
    std::unique_ptr<ITimer> createTimer(const QString& name, TimerKind kind) override;
};
