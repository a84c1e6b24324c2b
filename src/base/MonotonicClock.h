#pragma once

#include <QtGlobal>

// The race clock: a monotonic 64-bit source in microseconds. A race keeps its instants in
// microseconds and rounds only what it shows or stores, so that the start and a lap's end do not each
// lose up to a millisecond. Injected so that a race can run on virtual time in tests and benchmarks.
// Implementations must be safe to read from any thread: the sensors are sampled off the main thread.
class MonotonicClock {
public:
    virtual ~MonotonicClock() = default;
    virtual qint64 nowUs() const = 0;
    qint64 nowMs() const { return nowUs() / 1000; }
};

// The system's steady clock; it never wraps and never jumps with the wall clock.
class SteadyClock : public MonotonicClock {
public:
    qint64 nowUs() const override;
    static SteadyClock& instance();
};
