#pragma once

#include <QtGlobal>

#include <chrono>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

class GroupedSampler;

// One worker thread that times every sampler of the station. The samplers poll on a common beat, so
// one wake-up serves them all: at the beat the worker runs the probe of each sampler that is due and
// hands a tick to the main thread only for a sampler whose probe found something. With no kart near
// a sensor the main thread is not woken at all, and four karts cost one wake-up every 2 ms, not eight.
//
// Each sampler keeps its own enable, interval and hand-over: it never has two ticks in flight, and
// one whose tick waits for the main thread is not probed again until that tick has run. The worker
// runs at the highest priority the process may give it.
class SamplerGroup {
public:
    using Clock = std::chrono::steady_clock;
    struct Member;

    SamplerGroup();
    // Returns once the worker has ended.
    ~SamplerGroup();
    SamplerGroup(const SamplerGroup&) = delete;
    SamplerGroup& operator=(const SamplerGroup&) = delete;

    // The state the worker keeps for a sampler; the owner lives on the main thread and receives its
    // ticks as TickEvents holding the member.
    std::shared_ptr<Member> add(GroupedSampler& owner);
    // Returns once the member's probe is not running; no tick is handed to the owner after it.
    void remove(const std::shared_ptr<Member>& member);

    // Starts the member polling with the probe, its first probe at the next beat of its interval
    // (at most one interval from now), or stops it. Replacing the probe waits until it is not running.
    void start(Member& member, quint32 intervalMs, std::function<bool()> probe);
    void stop(Member& member);

    // Called on the main thread once the member's tick has run: it may be probed again.
    void tickDone(Member& member);

    // The owner of a member, for the tick on the main thread; null once removed.
    static GroupedSampler* owner(const Member& member);

private:
    void run();
    Clock::time_point nextBeat(Clock::time_point now, Clock::duration interval) const;

    const Clock::time_point m_origin;
    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::condition_variable m_probed;
    quint64 m_changes = 0;
    bool m_stop = false;
    std::vector<std::shared_ptr<Member>> m_members;
    std::thread m_thread;
};
