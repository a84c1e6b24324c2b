#pragma once

#include <QList>
#include <QStringList>

class QTextStream;

// Where a command writes its messages and its errors, and where it reads the answer to a question
// (standard input when in is null).
struct CliStreams {
    QTextStream& out;
    QTextStream& err;
    QTextStream* in = nullptr;
};

// One command of tarvolin-cli: the words that name it ("top20-pdf", "backup create"), its line in the
// tool's help, and what runs it on the words after its name. run returns the exit status: 0 done,
// 1 failed (a bad file, an archive that cannot be read or written), 2 bad usage.
struct CliCommand {
    const char* name;
    const char* summary;
    int (*run)(const QStringList& args, CliStreams& streams);
};

// The tool's commands, in the order of its help.
const QList<CliCommand>& cliCommands();

// The commands, each in a file of its own.
int runResultsPdfCommand(const QStringList& args, CliStreams& streams);
int runTop20PdfCommand(const QStringList& args, CliStreams& streams);
int runBackupCreateCommand(const QStringList& args, CliStreams& streams);
int runBackupListCommand(const QStringList& args, CliStreams& streams);
int runBackupRestoreCommand(const QStringList& args, CliStreams& streams);
int runBackupVerifyCommand(const QStringList& args, CliStreams& streams);
int runHubCommand(const QStringList& args, CliStreams& streams);
