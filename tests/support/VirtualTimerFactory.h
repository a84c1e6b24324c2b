#pragma once

#include "base/TimerFactory.h"

class VirtualScheduler;

// Makes every timer a VirtualTimer on one scheduler, whatever kind is asked for: a part that takes its
// timers from a factory then runs on virtual time, which only the test moves.
class VirtualTimerFactory : public TimerFactory {
public:
    explicit VirtualTimerFactory(VirtualScheduler& scheduler) : m_scheduler(scheduler) {}

    std::unique_ptr<ITimer> createTimer(const QString& name, TimerKind kind) override;

private:
    VirtualScheduler& m_scheduler;
};
