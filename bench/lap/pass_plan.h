#pragma once

#include <QtGlobal>

#include <array>
#include <vector>

namespace LapBench {

constexpr int kKarts = 4;

struct PlannedPass {
    qint64 atMs = 0; // from the true race start
    // Another kart passes 0 to 3 ms from this one, on purpose: the laps ending here show how the
    // station copes with two sensors going off at once.
    bool closePair = false;
};

using PassPlan = std::array<std::vector<PlannedPass>, kKarts>;

// Pass instants per kart for a race of the given length: laps of 5 to 9 s, and every 20 s a cluster,
// all four karts within 20 ms (even clusters) or two karts 0, 1, 2 or 3 ms apart in turn (odd ones).
// The serial plan keeps different karts' bursts some ms apart (its pairs 30 ms), so that its figures
// compare with older runs; it has no close pairs.
PassPlan planPasses(qint64 raceMs, quint32 seed, bool serial);

} // namespace LapBench
