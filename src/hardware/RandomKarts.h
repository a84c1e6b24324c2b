#pragma once

#include <QRandomGenerator>
#include <QtGlobal>

#include <array>

// Four virtual karts lapping the track: each has its own pace (a lap of 30 to 40 s) and drives laps
// that vary around it, now and then a slow one (a spin, a missed braking point). The same seed gives
// the same race.
class RandomKarts {
public:
    static constexpr int KartCount = 4;

    explicit RandomKarts(quint32 seed);

    // The instant (ms from the track's start) at which the kart next passes its sensor.
    qint64 nextPassMs(int kart) const { return m_nextPassMs[kart - 1]; }
    // Moves the kart on by one lap.
    void completeLap(int kart);

private:
    qint64 lapMs(int kart);

    QRandomGenerator m_random;
    std::array<qint64, KartCount> m_paceMs{};
    std::array<qint64, KartCount> m_nextPassMs{};
};
