// backup verify ARCHIVE.bck: every block decoded and checked, nothing written.
#include "cli/BackupSession.h"
#include "cli/CliCommand.h"
#include "cli/CliParser.h"

#include <QTextStream>

int runBackupVerifyCommand(const QStringList& args, CliStreams& streams) {
    CliParser parser(runBackupVerifyCommand, QStringLiteral("ARCHIV.bck"));
    const int parsed = parser.parseWithOneArchive(args, streams);
    if (parsed >= 0)
        return parsed;
    const QString archive = parser.arguments().first();
    BackupSession session(streams);
    session.askForVolumes();
    TBackupFile& backup = session.backup();
    if (!backup.VerifyArchive(archive)) {
        streams.err << archive << QStringLiteral(": ") << backup.lastErrorText() << Qt::endl;
        return 1;
    }
    streams.out << archive << QStringLiteral(": v pořádku, souborů %1").arg(backup.FileCount()) << Qt::endl;
    return 0;
}
