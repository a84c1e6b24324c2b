// backup list ARCHIVE.bck: the archive's title, file count, size and file-ID lines.
#include "backup/ArchiveLayout.h"
#include "cli/BackupSession.h"
#include "cli/CliCommand.h"
#include "cli/CliParser.h"

#include <QFileInfo>
#include <QTextStream>

int runBackupListCommand(const QStringList& args, CliStreams& streams) {
    CliParser parser(runBackupListCommand, QStringLiteral("ARCHIV.bck"));
    const int parsed = parser.parseWithOneArchive(args, streams);
    if (parsed >= 0)
        return parsed;
    const QString archive = parser.arguments().first();
    if (!QFileInfo(archive).isFile()) {
        streams.err << QStringLiteral("Archiv neexistuje: ") << archive << Qt::endl;
        return 1;
    }
    BackupSession session(streams);
    TBackupFile& backup = session.backup();
    QStringList lines;
    const QString title = backup.ReadArchiveInfo(archive, &lines);
    if (backup.lastError() != 0)
        return 1;
    streams.out << QStringLiteral("Název: ") << title << '\n'
                << QStringLiteral("Souborů: ") << backup.FileCount() << '\n'
                << QStringLiteral("Velikost: ") << backup.TotalSize() << QStringLiteral(" bajtů") << '\n';
    for (const QString& line : lines)
        streams.out << line << '\n';
    streams.out.flush();
    if (!ArchiveLayout::read(archive).whole()) {
        streams.err << QStringLiteral("Záloha je poškozená, končí předčasně: ") << archive << Qt::endl;
        return 1;
    }
    return 0;
}
