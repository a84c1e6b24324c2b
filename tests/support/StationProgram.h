#pragma once

#include <QByteArray>
#include <QProcess>
#include <QString>
#include <QTemporaryDir>

// The station program itself, started offscreen on a data folder of its own with a scenario of the
// virtual track, as an operator's machine would run it. A program still running at the end is killed.
class StationProgram {
public:
    StationProgram() = default;
    ~StationProgram();
    StationProgram(const StationProgram&) = delete;
    StationProgram& operator=(const StationProgram&) = delete;

    // The program of this build; a test without it skips.
    static QString programPath();

    // A file of the data folder, written whole.
    void write(const QString& name, const QByteArray& bytes);
    // Starts the program on the data folder with --simulate=scenarioFile (a name in the data folder).
    void start(const QString& scenarioFile);

    QTemporaryDir data;
    QProcess process;
};
