#pragma once

#include <QString>
#include <QtGlobal>

// The values and texts of the lap charts. A lap is charted in hundredths of a second: 45.127 s is
// 4512 and is labelled 45:12 on the large chart and 00:45:12 on the small ones.
namespace ChartLabels {

// The lap time of a lap list entry in hundredths, the rest dropped. Throws ConversionError when the
// entry is no lap time.
qint64 chartValue(const QString& lapText);

// A value written with a digit pattern: "0" is a digit always written, "#" a digit written only when
// the number has it, anything else is copied where digits of the number stand left of it. The value is
// rounded to a whole number first; digits beyond the pattern widen its leftmost place.
QString formatDigits(double value, const QString& pattern);

// The large chart's time labels, "#0:#0": seconds, a colon and two digits of hundredths.
QString largeTimeLabel(double value);
// The small charts' time labels, "##00:##:##".
QString smallTimeLabel(double value);
// A position on the lap axis: up to three decimals, trailing zeros dropped, a decimal comma.
QString lapLabel(double lap);

// What the cross-hair reads: the time, "  /  " and the lap, as in "45:12  /  3,25".
QString crossHairReadout(double time, double lap);

} // namespace ChartLabels
