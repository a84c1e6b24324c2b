#pragma once

#include <QtGlobal>

// The race clock: milliseconds from a monotonic 64-bit source. Injected so that a race can run on
// virtual time in tests and benchmarks.
class MonotonicClock {
public:
    virtual ~MonotonicClock() = default;
    virtual qint64 nowMs() const = 0;
};

// The system's steady clock; it never wraps and never jumps with the wall clock.
class SteadyClock : public MonotonicClock {
public:
    qint64 nowMs() const override;
    static SteadyClock& instance();
};
