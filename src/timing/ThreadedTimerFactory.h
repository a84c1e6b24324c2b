#pragma once

#include "base/TimerFactory.h"

#include <memory>

class SamplerGroup;

// The program's timers: the sensors' polls share one worker thread (made with the first of them and
// ended with the last), other samplers and worker timers have a threaded timer each, and the slow
// watches run on message timers.
class ThreadedTimerFactory : public TimerFactory {
public:
    std::unique_ptr<ITimer> createTimer(const QString& name, TimerKind kind) override;

    static ThreadedTimerFactory& instance();

private:
    std::weak_ptr<SamplerGroup> m_samplerGroup;
};
