#pragma once

#include "printing/SheetSettings.h"

#include <QByteArray>
#include <QString>

#include <array>

// The results sheet of a race kept in "vysledky" as a PDF: kart 1..4's kept lap files (empty for a
// kart without laps), the drivers from the names file beside them, the date and time of the race's
// start; base gives the print settings. Safe off the main thread: it touches no window and no
// shared state. Empty when the sheet could not be made.
QByteArray keptRaceResultsPdf(const SheetSettings& base, const std::array<QString, 4>& lapFilePaths);
