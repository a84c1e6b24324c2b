#pragma once

#include "VirtualTimer.h"

#include "base/TimerFactory.h"

#include <QMap>
#include <QSet>

class VirtualScheduler;

// Makes every timer a virtual one on the scheduler, whatever its kind, and finds it again by name.
class VirtualTimerFactory : public TimerFactory {
public:
    explicit VirtualTimerFactory(VirtualScheduler& scheduler) : m_scheduler(scheduler) {}

    std::unique_ptr<ITimer> createTimer(const QString& name, TimerKind kind) override;

    // The timer made under name; null when there is none (or it is gone).
    VirtualTimer* timer(const QString& name) const { return m_timers.value(name); }

    // The samplers' probes see the sensors at the tick; their handlers run this much later, as on a
    // main thread that is busy when a sampler hands a hit over.
    void setSamplerHandOverDelayMs(qint64 ms);

private:
    VirtualScheduler& m_scheduler;
    QMap<QString, VirtualTimer*> m_timers;
    QSet<QString> m_samplers;
    qint64 m_samplerHandOverDelayMs = 0;
};
