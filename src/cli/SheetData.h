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

// Whether output's name ends in ".pdf", in any case. A forgotten output name makes a lap file or a
// table the output; such a command line is refused as a usage error before anything is read.
bool hasPdfName(const QString& output);

// Writes the sheet to output beside it and renames it into place, and reports "OUT.pdf: 2 stránky".
// Throws UserError when it cannot, and when output exists and is not a PDF (a regular file beginning
// with "%PDF-"): a reprint replaces an earlier sheet, never a lap file or a table.
void writeSheet(TPrintPreview& preview, const QString& output, CliStreams& streams);
