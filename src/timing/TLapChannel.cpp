#include "timing/TLapChannel.h"

#include "timing/ITimer.h"

bool TLapChannel::deadTimeRunning() const {
    return DeadTimer && DeadTimer->enabled();
}

bool TLapChannel::sampling() const {
    return Sampler && Sampler->enabled();
}
