#include "lap/pass_plan.h"

#include <algorithm>
#include <random>

namespace LapBench {

namespace {

constexpr qint64 kMinLapMs = 5000;
constexpr qint64 kMaxLapMs = 9000;

struct Cluster {
    qint64 atMs;
    std::array<qint64, kKarts> offsetMs; // -1: the kart is not in it
    bool pair;
};

std::vector<Cluster> planClusters(qint64 raceMs, bool serial) {
    std::vector<Cluster> clusters;
    for (int j = 0;; ++j) {
        const qint64 at = 12000 + qint64(j) * 20000;
        if (at > raceMs - 2000)
            break;
        Cluster cluster{at, {-1, -1, -1, -1}, j % 2 == 1};
        if (!cluster.pair) {
            const std::array<qint64, kKarts> spread =
                serial ? std::array<qint64, kKarts>{0, 25, 50, 75} : std::array<qint64, kKarts>{0, 4, 11, 19};
            for (int k = 0; k < kKarts; ++k)
                cluster.offsetMs[(k + j / 2) % kKarts] = spread[k];
        } else {
            const int first = (j / 2) % kKarts;
            cluster.offsetMs[first] = 0;
            cluster.offsetMs[(first + 1) % kKarts] = serial ? 30 : (j / 2) % 4;
        }
        clusters.push_back(cluster);
    }
    return clusters;
}

} // namespace

PassPlan planPasses(qint64 raceMs, quint32 seed, bool serial) {
    std::mt19937 random(seed);
    auto uniform = [&](qint64 low, qint64 high) {
        return std::uniform_int_distribution<qint64>(low, high)(random);
    };
    const std::vector<Cluster> clusters = planClusters(raceMs, serial);

    PassPlan passes;
    for (int k = 0; k < kKarts; ++k) {
        qint64 t = 2500 + uniform(0, 2500) + k * (serial ? 40 : 0);
        while (t <= raceMs - 500) {
            passes[k].push_back({t, false});
            // The next cluster this kart can reach with laps of 5 to 9 s.
            qint64 gap = -1;
            for (const Cluster& cluster : clusters) {
                if (cluster.offsetMs[k] < 0)
                    continue;
                const qint64 g = cluster.atMs + cluster.offsetMs[k] - t;
                if (g < kMinLapMs || (g > kMaxLapMs && g < 2 * kMinLapMs))
                    continue;
                gap = g;
                break;
            }
            qint64 lap;
            if (gap < 0) {
                lap = uniform(kMinLapMs, kMaxLapMs);
            } else if (gap <= kMaxLapMs) {
                lap = gap;
            } else {
                lap = uniform(kMinLapMs, std::min(kMaxLapMs, gap - kMinLapMs));
                const qint64 rest = gap - lap;
                if (rest > kMaxLapMs && rest < 2 * kMinLapMs)
                    lap = gap - kMaxLapMs <= kMaxLapMs ? gap - kMaxLapMs : gap - 2 * kMinLapMs;
            }
            t += lap;
        }
    }

    // A pair counts only when both its karts did reach it; a kart that missed its cluster leaves
    // the other passing alone.
    if (serial)
        return passes;
    for (const Cluster& cluster : clusters) {
        if (!cluster.pair)
            continue;
        std::vector<PlannedPass*> members;
        for (int k = 0; k < kKarts; ++k) {
            if (cluster.offsetMs[k] < 0)
                continue;
            const qint64 at = cluster.atMs + cluster.offsetMs[k];
            for (PlannedPass& pass : passes[k]) {
                if (pass.atMs == at)
                    members.push_back(&pass);
            }
        }
        if (members.size() == 2) {
            for (PlannedPass* pass : members)
                pass->closePair = true;
        }
    }
    return passes;
}

} // namespace LapBench
