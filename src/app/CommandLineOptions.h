#pragma once

#include "hardware/PortOptions.h"

#include <QString>
#include <QStringList>

// What the command line may change: where the data files are, and whether the virtual track stands
// in for the parallel port.
struct CommandLineOptions {
    QString dataFolder;    // "--data DIR" / "--data=DIR"; empty means the program's own folder
    bool simulate = false; // "--simulate" / "--simulate=FILE"
    QString scenarioFile;  // FILE of "--simulate=FILE": a scenario to replay; empty for live play
    QStringList unknown;   // arguments not understood, kept for the caller to mention or ignore

    // The data folder to use: the given one (made absolute), or programFolder.
    QString dataFolderOr(const QString& programFolder) const;
    // How the parallel port is reached.
    PortOptions port() const;

    // arguments as QCoreApplication::arguments() gives them: the program first.
    static CommandLineOptions parse(const QStringList& arguments);

    // Throws UserError naming the first argument whose bytes are not text in the system's encoding:
    // decoded, such a folder name would silently become the name of another folder.
    static void requireTextArguments(int argc, const char* const* argv);
};
