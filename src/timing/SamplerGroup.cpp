#include "timing/SamplerGroup.h"

#include "platform/ThreadNice.h"
#include "platform/ThreadSlice.h"
#include "timing/GroupedSampler.h"
#include "timing/TickEvent.h"

#include <QCoreApplication>

#include <pthread.h>

namespace {

// A beat due this close to now is served at once rather than after one more short sleep.
constexpr auto Slack = std::chrono::microseconds(200);
// The samplers' workers run at the threaded timer's highest level.
constexpr int SamplerNiceValue = -10;

} // namespace

// Guarded by the group's mutex, except owner, which only the main thread reads and writes (and the
// worker reads under the mutex to post to it).
struct SamplerGroup::Member {
    GroupedSampler* owner = nullptr;
    std::function<bool()> probe;
    Clock::duration interval{};
    Clock::time_point due;
    bool polling = false;
    bool inFlight = false; // a tick handed over and not yet run
    bool probing = false;  // the worker runs the probe, unlocked
    quint64 generation = 0;
};

SamplerGroup::SamplerGroup() : m_origin(Clock::now()), m_thread([this] { run(); }) {}

SamplerGroup::~SamplerGroup() {
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_stop = true;
        ++m_changes;
    }
    m_changed.notify_all();
    m_thread.join();
}

std::shared_ptr<SamplerGroup::Member> SamplerGroup::add(GroupedSampler& owner) {
    auto member = std::make_shared<Member>();
    member->owner = &owner;
    std::lock_guard<std::mutex> lock(m_mutex);
    m_members.push_back(member);
    return member;
}

void SamplerGroup::remove(const std::shared_ptr<Member>& member) {
    std::unique_lock<std::mutex> lock(m_mutex);
    member->owner = nullptr;
    member->polling = false;
    ++m_changes;
    m_probed.wait(lock, [&] { return !member->probing; });
    m_members.erase(std::remove(m_members.begin(), m_members.end(), member), m_members.end());
}

void SamplerGroup::start(Member& member, quint32 intervalMs, std::function<bool()> probe) {
    {
        std::unique_lock<std::mutex> lock(m_mutex);
        m_probed.wait(lock, [&] { return !member.probing; });
        member.probe = std::move(probe);
        member.interval = std::chrono::milliseconds(intervalMs);
        member.due = nextBeat(Clock::now(), member.interval);
        member.polling = true;
        ++member.generation;
        ++m_changes;
    }
    m_changed.notify_all();
}

void SamplerGroup::stop(Member& member) {
    std::lock_guard<std::mutex> lock(m_mutex);
    member.polling = false;
    ++m_changes;
}

void SamplerGroup::tickDone(Member& member) {
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        member.inFlight = false;
        ++m_changes;
    }
    m_changed.notify_all();
}

GroupedSampler* SamplerGroup::owner(const Member& member) {
    return member.owner;
}

SamplerGroup::Clock::time_point SamplerGroup::nextBeat(Clock::time_point now,
                                                       Clock::duration interval) const {
    if (interval <= Clock::duration::zero())
        return now;
    return m_origin + ((now - m_origin) / interval + 1) * interval;
}

void SamplerGroup::run() {
    pthread_setname_np(pthread_self(), "SensorSampler");
    ThreadNice::apply(ThreadNice::currentThreadId(), SamplerNiceValue);
    // The worker runs for microseconds at a time; on a busy machine it should not wait out a
    // neighbour's whole slice before it can sample.
    ThreadSlice::requestForCurrentThread(ThreadSlice::ShortMicroseconds);

    struct Probe {
        std::shared_ptr<Member> member;
        quint64 generation;
        bool found;
    };
    std::vector<Probe> due;
    std::unique_lock<std::mutex> lock(m_mutex);
    while (!m_stop) {
        Clock::time_point next = Clock::time_point::max();
        for (const auto& member : m_members) {
            if (member->polling && !member->inFlight)
                next = std::min(next, member->due);
        }
        const quint64 seen = m_changes;
        const auto changed = [&] { return m_stop || m_changes != seen; };
        if (next == Clock::time_point::max()) {
            m_changed.wait(lock, changed);
            continue;
        }
        Clock::time_point now = Clock::now();
        if (next - now > Slack) {
            m_changed.wait_until(lock, next, changed);
            continue;
        }

        due.clear();
        for (const auto& member : m_members) {
            if (!member->polling || member->inFlight || member->due - now > Slack)
                continue;
            member->probing = true;
            // The beat after this one: a worker held up for several beats does not catch them up.
            member->due = nextBeat(std::max(now, member->due), member->interval);
            due.push_back({member, member->generation, false});
        }
        lock.unlock();
        for (Probe& probe : due) {
            try {
                probe.found = !probe.member->probe || probe.member->probe();
            } catch (...) {
                // Nobody here could be told; the probe has found nothing.
            }
        }
        lock.lock();
        for (Probe& probe : due) {
            Member& member = *probe.member;
            member.probing = false;
            if (!probe.found || !member.polling || member.generation != probe.generation || !member.owner)
                continue;
            member.inFlight = true;
            // The owner lives on the main thread; remove() cannot pass this point while we hold the lock.
            QCoreApplication::postEvent(member.owner, new TickEvent(probe.member));
        }
        m_probed.notify_all();
    }
}
