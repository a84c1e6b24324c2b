// backup restore ARCHIVE.bck [--to DIR [--full-path]] [--mode all|no-overwrite|newer|existing|existing-newer]
// [--data DIR]
#include "cli/BackupSession.h"
#include "cli/CliCommand.h"
#include "cli/CliParser.h"

#include <QDir>
#include <QFileInfo>
#include <QTextStream>

#include <map>

int runBackupRestoreCommand(const QStringList& args, CliStreams& streams) {
    CliParser parser(runBackupRestoreCommand, QStringLiteral("ARCHIV.bck"));
    const QCommandLineOption to(QStringLiteral("to"),
                                QStringLiteral("obnoví do této složky (jinak na svá místa ve složce s daty)"),
                                QStringLiteral("SLOŽKA"));
    const QCommandLineOption fullPath(QStringLiteral("full-path"),
                                      QStringLiteral("s --to: se složkami celé původní cesty"));
    const QCommandLineOption mode(
        QStringLiteral("mode"),
        QStringLiteral("které soubory: all (výchozí), no-overwrite, newer, existing, existing-newer"),
        QStringLiteral("REŽIM"));
    const QCommandLineOption data = CliParser::dataOption();
    for (const QCommandLineOption& option : {to, fullPath, mode, data})
        parser.addOption(option);
    const int parsed = parser.parseWithOneArchive(args, streams);
    if (parsed >= 0)
        return parsed;

    BackupSession session(streams);
    TBackupFile& backup = session.backup();
    const std::map<QString, TRestoreMode> modes = {{"all", rmAll},
                                                   {"no-overwrite", rmNoOverwrite},
                                                   {"newer", rmNewer},
                                                   {"existing", rmExisting},
                                                   {"existing-newer", rmExistingNewer}};
    if (parser.isSet(mode)) {
        const auto chosen = modes.find(parser.value(mode));
        if (chosen == modes.end())
            return parser.usageError(QStringLiteral("Neznámý režim obnovy: ") + parser.value(mode), streams);
        backup.setRestoreMode(chosen->second);
    }
    const QString target = parser.value(to);
    if (parser.isSet(fullPath) && target.isEmpty())
        return parser.usageError(QStringLiteral("Volba --full-path platí jen s --to."), streams);
    if (parser.isSet(to) && target.trimmed().isEmpty())
        return parser.usageError(QStringLiteral("Za volbou --to chybí složka."), streams);
    backup.setRestoreFullPath(parser.isSet(fullPath));
    backup.setDataFolder(BackupSession::dataFolder(parser.value(data)));
    const QString archive = parser.arguments().first();
    if (!QFileInfo(archive).isFile()) {
        streams.err << QStringLiteral("Archiv neexistuje: ") << archive << Qt::endl;
        return 1;
    }
    session.askForVolumes();
    bool done = false;
    try {
        done = backup.RestoreArchive(archive, target.isEmpty() ? QString() : QDir(target).absolutePath());
    } catch (const BackupError& error) {
        streams.err << error.message() << Qt::endl;
    }
    if (!done) {
        streams.err << QStringLiteral("Obnova se nezdařila: ") << archive << Qt::endl;
        return 1;
    }
    return 0;
}
