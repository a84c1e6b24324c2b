#pragma once

#include "backup/TBackupFile.h"

#include <QString>
#include <QStringList>

#include <array>

// What the backup window makes of its controls: the source list of the four file sets, the archive's
// path, the options' modes and levels, and the listing's texts.
namespace BackupChoices {

// "tarvolin.ini", "stav.ini", "topdeset.ini" and "topdeset1.ini", "vysledky/*.*", for each ticked set
// in that order, in the data folder.
QStringList sources(const QString& dataFolder, const std::array<bool, 4>& sets);

// The selected file if there is one; else the new name with ".bck" in the folder; else
// "zalohatarvolin.bck" there.
QString archivePath(const QString& folder, const QString& selectedFile, const QString& newName);

// Each option as its caption says: "Rychlá", "Základní", "Maximální", "Bez komprese".
TCompressionLevel levelOfOption(int option);
// "Obnovit vše" everything; "Nepřepisovat" and "Pokud neexistuje" only where no file is; "Nikdy" only
// where the archived file is newer, never over a newer one; "Pokud existuje" only over a file.
TRestoreMode modeOfOption(int option);
// The tool tip of each restore option: exactly what it restores.
QString modeHint(int option);

// "%d souborů, %d KB celkem", the kilobytes rounded to the nearest, halves to even.
QString summary(int fileCount, qint64 totalSize);
// A file-ID line ("path<TAB>time=size") as the listing shows it.
QString listingLine(const QString& fileIdLine);

} // namespace BackupChoices
