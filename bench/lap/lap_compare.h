#pragma once

#include <QStringList>

#include <optional>
#include <vector>

namespace LapBench {

// A detection belongs to a pass when it comes no sooner than 1 ms before it and within this after it.
constexpr double kMatchWindowMs = 200;

struct KartResult {
    int passes = 0;
    int detections = 0;
    int missed = 0;
    int doubled = 0;
    std::vector<double> errorsMs; // measured minus true, per lap whose both ends were detected
    std::vector<int> lapEndPass;  // for each of errorsMs, the index of the true pass the lap ends at
    std::optional<double> firstLapErrorMs;
};

// Matches the kart's detections (race times summed from its lap list) to its true pass instants
// (race times, ms after the start tick) and collects the lap errors. trueStartMs is when the race
// truly began in race time: 0 when the start tick is the start, earlier (negative) when the station
// noticed the start late, as with an external start button it looks at now and then.
KartResult compare(const QStringList& laps, const std::vector<double>& truePassMs, double trueStartMs = 0);

// The value at fraction p of a sorted sample (nearest rank); 0 for none.
double percentile(const std::vector<double>& sorted, double p);

} // namespace LapBench
