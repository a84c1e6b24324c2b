#include "printing/PageUnits.h"

#include <cstdlib>

int PageUnits::perInch(TUnits unit, int pixelsPerInch) {
    switch (unit) {
    case mmPixel:
        return pixelsPerInch > 0 ? pixelsPerInch : 96;
    case mmLoMetric:
        return 254;
    case mmHiMetric:
        return 2540;
    case mmLoEnglish:
        return 100;
    case mmHiEnglish:
        return 1000;
    case mmTWIPS:
        return 1440;
    }
    return 2540;
}

int PageUnits::ConvertMeasure(int value, TUnits from, TUnits to, int pixelsPerInch) {
    if (from == to)
        return value;
    if ((from == mmLoMetric && to == mmHiMetric) || (from == mmLoEnglish && to == mmHiEnglish))
        return value * 10;
    if ((from == mmHiMetric && to == mmLoMetric) || (from == mmHiEnglish && to == mmLoEnglish))
        return value / 10;
    const qint64 numerator = qint64(value) * perInch(to, pixelsPerInch);
    const qint64 denominator = perInch(from, pixelsPerInch);
    const qint64 rounded = (2 * std::llabs(numerator) + denominator) / (2 * denominator);
    return int(numerator < 0 ? -rounded : rounded);
}

QString PageUnits::listText(TUnits unit) {
    switch (unit) {
    case mmPixel:
        return QStringLiteral("Pixels");
    case mmLoMetric:
        return QStringLiteral("0.1 mm");
    case mmHiMetric:
        return QStringLiteral("0.01 mm");
    case mmLoEnglish:
        return QStringLiteral("0.01\"");
    case mmHiEnglish:
        return QStringLiteral("0.001\"");
    case mmTWIPS:
        return QStringLiteral("TWIPS");
    }
    return {};
}
