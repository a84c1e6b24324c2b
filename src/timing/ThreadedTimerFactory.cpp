#include "timing/ThreadedTimerFactory.h"

#include "base/MessageTimerFactory.h"
#include "timing/GroupedSampler.h"
#include "timing/SamplerGroup.h"
#include "timing/ThdTimer.h"

std::unique_ptr<ITimer> ThreadedTimerFactory::createTimer(const QString& name, TimerKind kind) {
    if (kind == TimerKind::Message)
        return MessageTimerFactory::instance().createTimer(name, kind);
    if (kind == TimerKind::Sensor) {
        std::shared_ptr<SamplerGroup> group = m_samplerGroup.lock();
        if (!group) {
            group = std::make_shared<SamplerGroup>();
            m_samplerGroup = group;
        }
        auto timer = std::make_unique<GroupedSampler>(std::move(group));
        timer->setObjectName(name);
        return timer;
    }
    auto timer = std::make_unique<TThreadedTimer>();
    timer->setObjectName(name);
    if (kind == TimerKind::Sampler)
        timer->setThreadPriority(TThreadedTimer::tpHighest);
    return timer;
}

ThreadedTimerFactory& ThreadedTimerFactory::instance() {
    static ThreadedTimerFactory factory;
    return factory;
}
