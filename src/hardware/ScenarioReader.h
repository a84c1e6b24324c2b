#pragma once

#include "hardware/ScenarioEvent.h"

#include <QList>
#include <QString>

// Reads a virtual-track scenario: one step per line, "<ms> pass <kart 1-4>", "<ms> start" (the
// external start button pressed and released StartPressMs later), "<ms> press", "<ms> release".
// Times are milliseconds from the moment the track starts. "#" begins a comment; blank lines are
// skipped; commands are matched without regard to letter case.
class ScenarioReader {
public:
    struct LineError {
        int line = 0;
        QString message;
    };

    // Long enough for the external start watch (a 200 ms poll) to see the button.
    static constexpr qint64 StartPressMs = 300;

    // The steps in time order (steps at the same time keep their order in the text). Bad lines are
    // skipped and reported in errors, with their line numbers (from 1).
    static QList<ScenarioEvent> parse(const QString& text, QList<LineError>* errors);

    // Reads the file; throws UserError when it cannot be read or has a bad line (all bad lines are
    // listed in the message).
    static QList<ScenarioEvent> readFile(const QString& path);
};
