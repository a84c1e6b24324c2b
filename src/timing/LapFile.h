#pragma once

#include <QString>
#include <QStringList>

// Lap files: windows-1250 text, one entry per line, every line ended by CR LF.

// Replaces the file (written beside and renamed). Throws UserError "Cannot create file "%s". %s".
void saveLapFile(const QString& path, const QStringList& entries);
// Throws UserError "Cannot open file "%s". %s", and for a file above MaxLapFileBytes.
QStringList loadLapFile(const QString& path);
// A kart's lap list from a file: as loadLapFile, and a file with a line that is not a lap time is
// refused with a message naming its first such lines, so that the list stays as it was.
QStringList loadLapTimesFile(const QString& path);

// A four-hour race of ten-second laps is under 30 kB; anything far larger is not a lap file, and
// reading it whole would stall the station.
constexpr qint64 MaxLapFileBytes = 1024 * 1024;

// The reading rules: lines end at CR LF, CR or LF; a missing last line end adds no empty entry; an
// empty line in the middle is an empty entry; a NUL ends the text.
QStringList splitLapFileText(const QString& text);
