#pragma once

#include <QList>
#include <QtGlobal>

#include <array>

// Finds the passes a race's lap lists gained since it last looked: the live state is handed on whole
// at every change, and the broker gets each pass once, numbered as the kart's lap list numbers it.
class PassTracker {
public:
    struct Pass {
        int kart = 0; // 1..4
        int lap = 0;  // from 1
        qint64 lapMs = 0;
        qint64 raceMs = 0; // the kart's laps up to this one: the race time at the pass
        bool operator==(const Pass& other) const {
            return kart == other.kart && lap == other.lap && lapMs == other.lapMs && raceMs == other.raceMs;
        }
    };

    // A new race: its lists start empty.
    void reset() { m_counts = {}; }
    // The lists now; a list that became shorter (laps removed at STOP) gives no pass and is followed
    // from its new length.
    QList<Pass> update(const std::array<QList<qint64>, 4>& laps);

private:
    std::array<qsizetype, 4> m_counts{};
};
