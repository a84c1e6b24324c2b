#pragma once

#include <QString>
#include <QtGlobal>

// Lap times are signed milliseconds, written "mm:ss:mmm" (minutes within the hour).
QString FormatLapTime(qint64 ms);
// A sum of laps, which may pass the hour: "mm:ss:mmm" under an hour, else "h:mm:ss:mmm".
QString FormatLapSum(qint64 ms);
// Throws ConversionError when a field is not an integer.
qint64 ParseLapTime(const QString& text);
// The same without the error: false when text is not a lap time.
bool TryParseLapTime(const QString& text, qint64* ms);

// Engine times are signed minutes, written "h:m" without leading zeros.
QString FormatEngineTime(qint32 minutes);
// An empty text gives 0; otherwise throws ConversionError like ParseLapTime.
qint32 ParseEngineTime(const QString& text);

// The integer conversion both parsers share: optional leading blanks, optional sign, decimal digits,
// nothing after them. Throws ConversionError with the text.
qint32 StrToInt(const QString& text);
