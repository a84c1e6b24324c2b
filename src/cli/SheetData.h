#pragma once

#include "config/DataFolder.h"
#include "config/TSettings.h"

#include <QImage>
#include <QString>

class TPrintPreview;
struct CliStreams;

// What a sheet command reads from the data folder: the print settings of its tarvolin.ini (defaults
// where it has none) and its logo.
struct SheetData {
    DataFolder folder;
    TSettings settings;
    QImage logo;

    // The folder given by --data, else the tool's own folder. Throws UserError when it does not exist.
    static SheetData open(const QString& givenFolder);
};

// Writes the sheet to output and reports "OUT.pdf: 2 stránky". Throws UserError when it cannot.
void writeSheet(TPrintPreview& preview, const QString& output, CliStreams& streams);
