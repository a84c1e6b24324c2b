#pragma once

#include <QString>
#include <QStringList>
#include <QtGlobal>

// How the station reaches its parallel port, from the command line: "--simulate" runs it on the
// virtual track with random karts, "--simulate=FILE" replays the scenario FILE; without either the
// real port is used.
struct PortOptions {
    bool simulate = false;
    QString scenarioFile; // empty: random karts
    quint32 seed = 0;     // of the random karts; 0 picks one

    static PortOptions fromArguments(const QStringList& arguments);
};
