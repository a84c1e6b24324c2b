#include "base/MonotonicClock.h"

#include <chrono>

qint64 SteadyClock::nowUs() const {
    using namespace std::chrono;
    return duration_cast<microseconds>(steady_clock::now().time_since_epoch()).count();
}

SteadyClock& SteadyClock::instance() {
    static SteadyClock clock;
    return clock;
}
