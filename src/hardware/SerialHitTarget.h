#pragma once

#include <QtGlobal>

#include <functional>

// One kart's lap channel as the serial input sees it: whether its dead time runs (its DeadTimer is
// enabled), and how to hand it a hit with the clock instant (microseconds) its last byte arrived (set
// its pending hit, which the channel's sampler takes at its next sample).
// An unfilled function counts as "no dead time" and "nobody to tell".
struct SerialHitTarget {
    std::function<bool()> deadTimeRunning;
    std::function<void(qint64 arrivalUs)> setPendingHit;
};
