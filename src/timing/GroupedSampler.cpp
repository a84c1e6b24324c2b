#include "timing/GroupedSampler.h"

#include "base/ErrorBoundary.h"
#include "timing/TickEvent.h"

GroupedSampler::GroupedSampler(std::shared_ptr<SamplerGroup> group, QObject* parent)
    : QObject(parent), m_group(std::move(group)), m_member(m_group->add(*this)) {}

GroupedSampler::~GroupedSampler() {
    m_group->remove(m_member);
}

void GroupedSampler::setEnabled(bool on) {
    if (on == m_enabled)
        return;
    m_enabled = on;
    restart();
}

void GroupedSampler::setInterval(quint32 ms) {
    if (ms == m_interval)
        return;
    m_interval = ms;
    restart();
}

void GroupedSampler::setAllowZero(bool allow) {
    if (allow == m_allowZero)
        return;
    m_allowZero = allow;
    restart();
}

void GroupedSampler::restart() {
    if (m_enabled && (m_interval > 0 || m_allowZero))
        m_group->start(*m_member, m_interval, probeFunction());
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
