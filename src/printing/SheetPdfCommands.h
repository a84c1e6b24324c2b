#pragma once

#include <QStringList>
#include <QTextStream>

// The command-line tool's sheet commands. args are the words after the command's name; out and err
// take the messages. Each returns the process's exit code: 0 written, 1 bad input or output, 2 bad
// usage.

// results-pdf OUT.pdf [--data DIR] FILE1 [FILE2 [FILE3 [FILE4]]]: the results sheet of up to four
// karts from lap files ("-" is a kart without laps), with the print settings of the data folder.
int runResultsPdfCommand(const QStringList& args, QTextStream& out, QTextStream& err);
// top20-pdf OUT.pdf [--data DIR]: the best-twenty sheet from the data folder's table files.
int runTop20PdfCommand(const QStringList& args, QTextStream& out, QTextStream& err);
