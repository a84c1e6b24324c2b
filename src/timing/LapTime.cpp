#include "timing/LapTime.h"

#include "base/UserError.h"

namespace {

QString padded(qint64 value, int width) {
    return QString::number(value).rightJustified(width, QLatin1Char('0'));
}

// Splits off the text before the first ':' and removes it with the colon. Without a colon the whole
// text is left in place and the field is empty, which the conversion then rejects.
QString takeField(QString& rest) {
    const qsizetype colon = rest.indexOf(QLatin1Char(':'));
    if (colon < 0)
        return QString();
    QString field = rest.left(colon);
    rest.remove(0, colon + 1);
    return field;
}

} // namespace

qint32 StrToInt(const QString& text) {
    qsizetype i = 0;
    while (i < text.size() && text.at(i) == QLatin1Char(' '))
        ++i;
    bool negative = false;
    if (i < text.size() && (text.at(i) == QLatin1Char('-') || text.at(i) == QLatin1Char('+'))) {
        negative = text.at(i) == QLatin1Char('-');
        ++i;
    }
    if (i == text.size())
        throw ConversionError(text);
    qint64 value = 0;
    for (; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            throw ConversionError(text);
        value = value * 10 + (c.unicode() - '0');
        if (value > qint64(std::numeric_limits<qint32>::max()) + 1)
            throw ConversionError(text);
    }
    if (negative)
        value = -value;
    if (value > std::numeric_limits<qint32>::max())
        throw ConversionError(text);
    return qint32(value);
}

QString FormatLapTime(qint64 ms) {
    if (ms < 0)
        ms = 0;
    const qint64 minutes = (ms / 60000) % 60;
    const qint64 seconds = (ms / 1000) % 60;
    const qint64 millis = ms % 1000;
    return padded(minutes, 2) + QLatin1Char(':') + padded(seconds, 2) + QLatin1Char(':') + padded(millis, 3);
}

QString FormatLapSum(qint64 ms) {
    constexpr qint64 Hour = 3'600'000;
    if (ms < Hour)
        return FormatLapTime(ms);
    return QString::number(ms / Hour) + QLatin1Char(':') + FormatLapTime(ms % Hour);
}

qint64 ParseLapTime(const QString& text) {
    QString rest = text;
    const QString minutesField = takeField(rest);
    const qint64 minutes = StrToInt(minutesField);
    const QString secondsField = takeField(rest);
    const qint64 seconds = StrToInt(secondsField);
    const qint64 millis = StrToInt(rest);
    return (minutes * 60 + seconds) * 1000 + millis;
}

bool TryParseLapTime(const QString& text, qint64* ms) {
    try {
        *ms = ParseLapTime(text);
        return true;
    } catch (const ConversionError&) {
        return false;
    }
}

QString FormatEngineTime(qint32 minutes) {
    return QStringLiteral("%1:%2").arg(minutes / 60).arg(minutes % 60);
}

qint32 ParseEngineTime(const QString& text) {
    if (text.isEmpty())
        return 0;
    QString rest = text;
    const QString hoursField = takeField(rest);
    const qint32 hours = StrToInt(hoursField);
    const qint32 minutes = StrToInt(rest);
    // 32-bit arithmetic as the stored form has always used; wrap rather than trap on absurd values.
    return qint32(quint32(hours) * 60u + quint32(minutes));
}
