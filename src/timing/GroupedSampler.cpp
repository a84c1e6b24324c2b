#include "timing/GroupedSampler.h"

#include "base/ErrorBoundary.h"
#include "timing/TickEvent.h"

GroupedSampler::GroupedSampler(std::shared_ptr<SamplerGroup> group, QObject* parent)
    : QObject(parent), m_group(std::move(group)), m_member(m_group->add(*this)) {}

GroupedSampler::~GroupedSampler() {
    m_group->remove(m_member);
}

void GroupedSampler::restart() {
    if (runs())
        m_group->start(*m_member, interval(), probeFunction());
    else
        m_group->stop(*m_member);
}

bool GroupedSampler::event(QEvent* event) {
    if (event->type() != TickEvent::type())
        return QObject::event(event);
    const auto member = static_cast<TickEvent*>(event)->shared<SamplerGroup::Member>();
    // Kept alive past the handler, which may destroy this sampler and with it its reference.
    const std::shared_ptr<SamplerGroup> group = m_group;
    std::exception_ptr failure;
    {
        // Done however the handler ends: by returning, by raising, or by destroying this sampler.
        struct DoneOnExit {
            SamplerGroup& group;
            SamplerGroup::Member& member;
            ~DoneOnExit() { group.tickDone(member); }
        } done{*group, *member};
        if (SamplerGroup::owner(*member))
            failure = fireCapturing();
    }
    // Only now that the sampler may be probed again: it keeps sampling while the operator reads.
    ErrorBoundary::report(failure);
    return true;
}
