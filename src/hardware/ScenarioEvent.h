#pragma once

#include <QtGlobal>

// One step of a virtual-track scenario, at a time in milliseconds from the moment the track starts.
struct ScenarioEvent {
    enum Kind { Pass, Press, Release };

    qint64 atMs = 0;
    Kind kind = Pass;
    int kart = 0;      // 1..4 for Pass
    qint64 holdMs = 0; // how long a Pass holds the sensor; 0 for the track's usual pulse

    bool operator==(const ScenarioEvent& other) const {
        return atMs == other.atMs && kind == other.kind && kart == other.kart && holdMs == other.holdMs;
    }
};
