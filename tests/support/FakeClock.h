#pragma once

#include "base/MonotonicClock.h"

// A race clock that moves only when the test moves it.
class FakeClock : public MonotonicClock {
public:
    explicit FakeClock(qint64 startMs = 1'000'000) : m_now(startMs) {}

    qint64 nowMs() const override { return m_now; }
    void setNowMs(qint64 ms) { m_now = ms; }
    void advance(qint64 ms) { m_now += ms; }

private:
    qint64 m_now;
};
