#pragma once

#include "base/MonotonicClock.h"

#include <atomic>

// A race clock that moves only when the test moves it. Workers (the sensor sampler, the serial
// receiver) read it while the test moves it.
class FakeClock : public MonotonicClock {
public:
    explicit FakeClock(qint64 startMs = 1'000'000) : m_nowUs(startMs * 1000) {}

    qint64 nowUs() const override { return m_nowUs.load(); }
    void setNowMs(qint64 ms) { m_nowUs.store(ms * 1000); }
    void advance(qint64 ms) { m_nowUs.fetch_add(ms * 1000); }
    void advanceUs(qint64 us) { m_nowUs.fetch_add(us); }

private:
    std::atomic<qint64> m_nowUs;
};
