#include "timing/TLapChannel.h"

#include "base/ITimer.h"

bool TLapChannel::deadTimeRunning() const {
    return DeadTimer && DeadTimer->enabled();
}

bool TLapChannel::sampling() const {
    return Sampler && Sampler->enabled();
}
