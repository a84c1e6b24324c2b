#include "VirtualScheduler.h"

#include "FakeClock.h"
#include "VirtualTimer.h"

#include <algorithm>

VirtualScheduler::VirtualScheduler(FakeClock& clock) : m_clock(clock) {}

VirtualScheduler::~VirtualScheduler() = default;

qint64 VirtualScheduler::now() const {
    return m_clock.nowMs();
}

void VirtualScheduler::advance(qint64 ms) {
    for (qint64 i = 0; i < ms; ++i) {
        m_clock.advance(1);
        runDue();
    }
}

void VirtualScheduler::advanceTo(qint64 ms) {
    if (ms > now())
        advance(ms - now());
}

bool VirtualScheduler::advanceUntil(const std::function<bool()>& done, qint64 limitMs) {
    for (qint64 i = 0; i < limitMs; ++i) {
        if (done())
            return true;
        advance(1);
    }
    return done();
}

void VirtualScheduler::block(qint64 ms) {
    m_clock.advance(ms);
}

void VirtualScheduler::runDue() {
    const qint64 t = now();
    // Actions first, in the order they were given; an action may add more.
    for (;;) {
        auto it = std::min_element(m_actions.begin(), m_actions.end(), [](const Action& a, const Action& b) {
            return a.at != b.at ? a.at < b.at : a.order < b.order;
        });
        if (it == m_actions.end() || it->at > t)
            break;
        auto run = std::move(it->run);
        m_actions.erase(it);
        run();
    }
    // Copy: a handler may create or destroy timers.
    const std::vector<VirtualTimer*> timers = m_timers;
    for (VirtualTimer* timer : timers) {
        if (std::find(m_timers.begin(), m_timers.end(), timer) == m_timers.end())
            continue;
        if (timer->enabled() && timer->due() <= t)
            timer->tick(t);
    }
}

void VirtualScheduler::at(qint64 ms, std::function<void()> action) {
    m_actions.push_back(Action{ms, m_actionOrder++, std::move(action)});
}

void VirtualScheduler::add(VirtualTimer* timer) {
    m_timers.push_back(timer);
}

void VirtualScheduler::remove(VirtualTimer* timer) {
    m_timers.erase(std::remove(m_timers.begin(), m_timers.end(), timer), m_timers.end());
}
