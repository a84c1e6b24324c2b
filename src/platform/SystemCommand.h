#pragma once

#include <QString>
#include <QStringList>

// Runs a system command and waits for it (at most timeoutMs).
class SystemCommand {
public:
    // An empty text when the command ran and exited with 0; else the command line with its error
    // output or the reason it did not run.
    static QString run(const QString& program, const QStringList& arguments, int timeoutMs = 30000);
};
