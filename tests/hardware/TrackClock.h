#pragma once

#include "base/MonotonicClock.h"

// Virtual time for the hardware tests: moves only when the test moves it.
class TrackClock : public MonotonicClock {
public:
    qint64 nowUs() const override { return m_now * 1000; }
    void advance(qint64 ms) { m_now += ms; }

private:
    qint64 m_now = 5'000'000;
};
