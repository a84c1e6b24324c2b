#pragma once

#include "base/TimerFactory.h"

// The program's timers: threaded timers for samplers and worker timers, message timers for the rest.
class ThreadedTimerFactory : public TimerFactory {
public:
    std::unique_ptr<ITimer> createTimer(const QString& name, TimerKind kind) override;

    static ThreadedTimerFactory& instance();
};
