#pragma once

#include <QString>
#include <QStringList>

// Lap files: windows-1250 text, one entry per line, every line ended by CR LF.

// Replaces the file (written beside and renamed). Throws UserError "Cannot create file "%s". %s".
void saveLapFile(const QString& path, const QStringList& entries);
// Throws UserError "Cannot open file "%s". %s".
QStringList loadLapFile(const QString& path);

// The reading rules: lines end at CR LF, CR or LF; a missing last line end adds no empty entry; an
// empty line in the middle is an empty entry; a NUL ends the text.
QStringList splitLapFileText(const QString& text);
