#pragma once

#include <QtGlobal>

#include <functional>
#include <vector>

class FakeClock;
class VirtualTimer;

// Runs virtual timers on a fake clock, one millisecond at a time. At each millisecond the due timers
// tick in the order they were created, so a run is fully deterministic. A timer that fell due while
// the main thread was blocked ticks once when it is free again, like a handed-over tick.
class VirtualScheduler {
public:
    explicit VirtualScheduler(FakeClock& clock);
    ~VirtualScheduler();

    FakeClock& clock() const { return m_clock; }
    qint64 now() const;

    // Moves the clock by ms, ticking due timers at every millisecond.
    void advance(qint64 ms);
    void advanceTo(qint64 ms);
    // Advances until the predicate holds (checked after every millisecond) or limitMs have passed;
    // returns whether it held.
    bool advanceUntil(const std::function<bool()>& done, qint64 limitMs);
    // The main thread is blocked: the clock moves, nothing ticks.
    void block(qint64 ms);
    // Ticks what is due at the current instant without moving the clock.
    void runDue();

    // Callbacks at given instants, run before the timers of that millisecond (a kart passing, a
    // button pressed).
    void at(qint64 ms, std::function<void()> action);

    void add(VirtualTimer* timer);
    void remove(VirtualTimer* timer);

private:
    struct Action {
        qint64 at;
        quint64 order;
        std::function<void()> run;
    };

    FakeClock& m_clock;
    std::vector<VirtualTimer*> m_timers;
    std::vector<Action> m_actions;
    quint64 m_actionOrder = 0;
};
