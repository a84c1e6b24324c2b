#include "hardware/RandomKarts.h"

#include <algorithm>
#include <random>

RandomKarts::RandomKarts(quint32 seed) : m_random(seed) {
    for (int kart = 1; kart <= KartCount; ++kart) {
        m_paceMs[kart - 1] = 30000 + qint64(m_random.bounded(10000));
        // The karts reach the line for the first time a few seconds apart.
        m_nextPassMs[kart - 1] = 2000 + qint64(m_random.bounded(10000));
    }
}

void RandomKarts::completeLap(int kart) {
    m_nextPassMs[kart - 1] += lapMs(kart);
}

qint64 RandomKarts::lapMs(int kart) {
    std::normal_distribution<double> spread(0.0, 800.0);
    const double variation = std::clamp(spread(m_random), -2500.0, 2500.0);
    qint64 lap = m_paceMs[kart - 1] + qint64(variation);
    if (m_random.bounded(100) < 4)
        lap += 3000 + qint64(m_random.bounded(9000));
    return lap;
}
