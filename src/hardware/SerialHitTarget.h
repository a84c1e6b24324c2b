#pragma once

#include <functional>

// One kart's lap channel as the serial input sees it: whether its dead time runs (its DeadTimer is
// enabled), and how to hand it a hit (set its PendingHit, which the channel takes at its next sample).
// An unfilled function counts as "no dead time" and "nobody to tell".
struct SerialHitTarget {
    std::function<bool()> deadTimeRunning;
    std::function<void()> setPendingHit;
};
