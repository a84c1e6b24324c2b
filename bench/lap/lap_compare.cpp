#include "lap/lap_compare.h"

#include "timing/LapTime.h"

#include <algorithm>
#include <cmath>

namespace LapBench {

KartResult compare(const QStringList& laps, const std::vector<double>& truePassMs, double trueStartMs) {
    KartResult result;
    result.passes = int(truePassMs.size());
    std::vector<double> detections;
    double sum = 0;
    for (const QString& lap : laps) {
        sum += double(ParseLapTime(lap));
        detections.push_back(sum);
    }
    result.detections = int(detections.size());

    std::vector<int> matchOf(detections.size(), -1);
    std::vector<bool> taken(truePassMs.size(), false);
    size_t next = 0;
    for (size_t i = 0; i < detections.size(); ++i) {
        const double d = detections[i];
        while (next < truePassMs.size() && truePassMs[next] < d - kMatchWindowMs)
            ++next;
        if (next < truePassMs.size() && truePassMs[next] <= d + 1 && !taken[next]) {
            matchOf[i] = int(next);
            taken[next] = true;
            ++next;
        } else {
            ++result.doubled; // no pass of this kart explains it
        }
    }
    for (bool t : taken)
        result.missed += t ? 0 : 1;

    double previousDetection = 0;
    int previousPass = -1; // -1: the race start
    for (size_t i = 0; i < detections.size(); ++i) {
        if (matchOf[i] < 0)
            continue;
        const int pass = matchOf[i];
        if (pass == previousPass + 1) {
            const double trueLap =
                truePassMs[pass] - (previousPass < 0 ? trueStartMs : truePassMs[previousPass]);
            const double error = (detections[i] - previousDetection) - trueLap;
            result.errorsMs.push_back(error);
            result.lapEndPass.push_back(pass);
            if (previousPass < 0)
                result.firstLapErrorMs = error;
        }
        previousDetection = detections[i];
        previousPass = pass;
    }
    return result;
}

double percentile(const std::vector<double>& sorted, double p) {
    if (sorted.empty())
        return 0;
    const size_t index = std::min(sorted.size() - 1, size_t(std::ceil(p * double(sorted.size())) - 1));
    return sorted[index];
}

} // namespace LapBench
