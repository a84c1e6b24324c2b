#include "stats/ChartLabels.h"

#include "timing/LapTime.h"

#include <cmath>

namespace ChartLabels {

qint64 chartValue(const QString& lapText) {
    return ParseLapTime(lapText) / 10;
}

QString formatDigits(double value, const QString& pattern) {
    // Half away from zero, as labels of figures are rounded for the operator.
    const double rounded = std::round(value);
    const bool negative = rounded < 0;
    QString digits = QString::number(qint64(std::fabs(rounded)));
    if (digits == QLatin1String("0"))
        digits.clear();

    int places = 0;
    int written = 0; // places from the right up to and including the leftmost "0"
    for (const QChar c : pattern) {
        if (c == QLatin1Char('0') || c == QLatin1Char('#'))
            ++places;
    }
    int place = places;
    for (const QChar c : pattern) {
        if (c == QLatin1Char('0') && written == 0)
            written = place;
        if (c == QLatin1Char('0') || c == QLatin1Char('#'))
            --place;
    }
    if (digits.size() < written)
        digits = QString(written - digits.size(), QLatin1Char('0')) + digits;

    // From the right: each place takes the next digit; the leftmost place takes all that are left.
    QString text;
    qsizetype next = digits.size();
    int placesLeft = places;
    for (qsizetype i = pattern.size() - 1; i >= 0 && next > 0; --i) {
        const QChar c = pattern.at(i);
        if (c == QLatin1Char('0') || c == QLatin1Char('#')) {
            --placesLeft;
            const qsizetype take = placesLeft == 0 ? next : 1;
            text.prepend(digits.mid(next - take, take));
            next -= take;
        } else {
            text.prepend(c);
        }
    }
    if (negative && !text.isEmpty())
        text.prepend(QLatin1Char('-'));
    return text;
}

QString largeTimeLabel(double value) {
    return formatDigits(value, QStringLiteral("#0:#0"));
}

QString smallTimeLabel(double value) {
    return formatDigits(value, QStringLiteral("##00:##:##"));
}

QString lapLabel(double lap) {
    QString text = QString::number(lap, 'f', 3);
    while (text.endsWith(QLatin1Char('0')))
        text.chop(1);
    if (text.endsWith(QLatin1Char('.')))
        text.chop(1);
    if (text == QLatin1String("-0"))
        text = QStringLiteral("0");
    return text.replace(QLatin1Char('.'), QLatin1Char(','));
}

QString crossHairReadout(double time, double lap) {
    return largeTimeLabel(time) + QStringLiteral("  /  ") + lapLabel(lap);
}

} // namespace ChartLabels
