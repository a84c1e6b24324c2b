#pragma once

#include <QString>
#include <QtGlobal>

// How the station reaches its parallel port: on the virtual track (with random karts, or replaying a
// scenario file), or the real port.
struct PortOptions {
    bool simulate = false;
    QString scenarioFile; // empty: random karts
    quint32 seed = 0;     // of the random karts; 0 picks one
};
