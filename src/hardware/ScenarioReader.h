#pragma once

#include "hardware/ScenarioEvent.h"

#include <QList>
#include <QString>

// Reads a virtual-track scenario: one step per line, "<ms> pass <kart 1-4> [<hold ms>]", "<ms> start" (the
// external start button pressed and released StartPressMs later), "<ms> press", "<ms> release".
// Times are milliseconds from the moment the track starts. "#" begins a comment; blank lines are
// skipped; commands are matched without regard to letter case.
class ScenarioReader {
public:
    struct LineError {
        int line = 0;
        QString message;
    };

    // A press as a hand makes it; long enough for the external start watch to see it on a busy machine.
    static constexpr qint64 StartPressMs = 300;
    // A week of track time; later steps are refused (they could not be reached, and a time near the
    // integer limit would overflow when the button's release is added).
    static constexpr qint64 MaxTimeMs = 7LL * 24 * 3600 * 1000;
    // Far more than a day of racing; a larger file is not a scenario.
    static constexpr qint64 MaxFileBytes = 4 * 1024 * 1024;
    // The longest a scenario's pass may hold its sensor.
    static constexpr qint64 MaxHoldMs = 60000;
    // The message of a bad file names this many bad lines and counts the rest.
    static constexpr int MaxNamedErrors = 20;

    // The steps in time order (steps at the same time keep their order in the text). Bad lines are
    // skipped; the first MaxNamedErrors are reported in errors, with their line numbers (from 1),
    // and errorCount counts them all.
    static QList<ScenarioEvent> parse(const QString& text, QList<LineError>* errors,
                                      int* errorCount = nullptr);

    // Reads the file; throws UserError when it cannot be read, is larger than MaxFileBytes or has a
    // bad line (the first MaxNamedErrors bad lines are listed in the message, and their count).
    static QList<ScenarioEvent> readFile(const QString& path);
};
