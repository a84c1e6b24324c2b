#pragma once

#include "printing/PageUnits.h"
#include "printing/SheetSettings.h"

#include <QString>
#include <QStringList>
#include <QtGlobal>

#include <array>

class TPrintPreview;

// One kart's totals under its column; every field in 64-bit integers.
struct KartLapSummary {
    static constexpr qint64 NoSpeed = -1; // the mean lap is too short to give a speed

    qint64 total = 0;             // ms
    qint64 shortest = 99'990'000; // ms
    qint64 longest = 0;           // ms
    qint64 mean = 0;              // ms
    qint64 speed = 0;             // hundredths of a km/h, or NoSpeed
    int laps = 0;                 // the laps counted
    int skipped = 0;              // lap texts that are no lap time, left out of the figures
};

// The race results sheet: every lap of up to four karts in framed columns on A4 landscape, with each
// kart's summary under its column, the operator's logo and texts and "VÝSLEDKOVÁ LISTINA" above.
class ResultsSheet {
public:
    // Lap texts that are no lap time are left out and counted; nothing else is read.
    static KartLapSummary SummariseLaps(const QStringList& laps, int trackLength);
    // "%d,%d%d Km/h", or "—" without a speed.
    static QString FormatSpeed(qint64 speed);

    // Builds the whole document in the unit given: a cleared document of one or more pages.
    static void BuildResultsSheet(TPrintPreview& document, TUnits units,
                                  const std::array<QStringList, 4>& laps, const SheetSettings& settings,
                                  const SheetBuildHooks& hooks = {});

    // The column layout for c (1..4) columns: frame width in a, rows per page.
    static int frameWidthInA(int columns);
    static int rowsPerPage(int columns);
};
