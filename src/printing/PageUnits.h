#pragma once

#include <QString>
#include <QtGlobal>

// The page units of a document, in the order of the preview's unit list.
enum TUnits { mmPixel, mmLoMetric, mmHiMetric, mmLoEnglish, mmHiEnglish, mmTWIPS };

// Lengths between page units. Each unit has a count per inch; pixels count the given device's pixels
// per inch.
class PageUnits {
public:
    static constexpr int UnitCount = 6;

    static int perInch(TUnits unit, int pixelsPerInch);
    // v × perInch(to) / perInch(from), rounded half away from zero. Tenths to hundredths of a
    // millimetre and hundredths to thousandths of an inch multiply by 10 exactly; the way back
    // divides by 10 truncating; the same unit keeps v.
    static int ConvertMeasure(int value, TUnits from, TUnits to, int pixelsPerInch);
    // The unit list's item: "Pixels", "0.1 mm", "0.01 mm", "0.01"", "0.001"", "TWIPS".
    static QString listText(TUnits unit);
};
