#pragma once

#include "config/DataFolder.h"
#include "config/TSettings.h"

class CliParser;

#include <QImage>
#include <QString>
#include <QStringList>

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

// Parses a sheet command whose first argument is VÝSTUP.pdf: -1 when the command line parsed and
// begins with a name ending in ".pdf" (in any case), else the exit status (--help, --version, a usage
// error). A forgotten output name makes a lap file or a table the output; such a command line is
// refused before anything is read.
int parseWithPdfOutput(CliParser& parser, const QStringList& args, CliStreams& streams);

// Writes the sheet to output beside it and renames it into place, and reports "OUT.pdf: 2 stránky".
// Throws UserError when it cannot, and when output exists and is not a PDF (a regular file beginning
// with "%PDF-"): a reprint replaces an earlier sheet, never a lap file or a table.
void writeSheet(TPrintPreview& preview, const QString& output, CliStreams& streams);
