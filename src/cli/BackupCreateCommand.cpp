// backup create ARCHIVE.bck [--title T] [--level fastest|default|best|none] [--file-ids] [--incremental]
// [--volume-size BYTES] [--data DIR] PATH...
#include "backup/BackupRecord.h"
#include "base/StationLocale.h"
#include "cli/BackupSession.h"
#include "cli/CliCommand.h"
#include "cli/CliParser.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QTextStream>

#include <map>

namespace {

// Volumes smaller than this could not hold a block beside the reserve the format keeps.
constexpr qint64 kSmallestVolume = 32768;

// A folder stands for every file in it and below it.
QString sourceOf(const QString& path) {
    const QFileInfo info(path);
    if (info.isDir())
        return info.absoluteFilePath() + QStringLiteral("/*.* /s");
    return info.absoluteFilePath();
}

} // namespace

int runBackupCreateCommand(const QStringList& args, CliStreams& streams) {
    CliParser parser(runBackupCreateCommand, QStringLiteral("ARCHIV.bck CESTA..."));
    const QCommandLineOption title(QStringLiteral("title"), QStringLiteral("název zálohy"),
                                   QStringLiteral("NÁZEV"));
    const QCommandLineOption level(QStringLiteral("level"),
                                   QStringLiteral("komprese: fastest (výchozí), default, best, none"),
                                   QStringLiteral("ÚROVEŇ"));
    const QCommandLineOption fileIds(QStringLiteral("file-ids"),
                                     QStringLiteral("přidá do zálohy seznam souborů"));
    const QCommandLineOption incremental(
        QStringLiteral("incremental"),
        QStringLiteral("jen soubory změněné od jejich poslední zálohy (podle zalohovano.txt složky s daty)"));
    const QCommandLineOption volumeSize(
        QStringLiteral("volume-size"),
        QStringLiteral("rozdělí zálohu na díly nejvýše této velikosti (ARCHIV.002, ...), nejméně %1")
            .arg(kSmallestVolume),
        QStringLiteral("BAJTY"));
    const QCommandLineOption data = CliParser::dataOption();
    for (const QCommandLineOption& option : {title, level, fileIds, incremental, volumeSize, data})
        parser.addOption(option);
    parser.describeArgument(QStringLiteral("ARCHIV.bck"), QStringLiteral("soubor zálohy, který se vytvoří"));
    parser.describeArgument(QStringLiteral("CESTA..."),
                            QStringLiteral("soubory a složky (se vším pod nimi)"));
    const int parsed = parser.parse(args, streams);
    if (parsed >= 0)
        return parsed;
    const QStringList words = parser.arguments();
    if (words.size() < 2)
        return parser.usageError(QStringLiteral("Zadejte archiv a alespoň jednu cestu."), streams);

    BackupSession session(streams);
    TBackupFile& backup = session.backup();
    const std::map<QString, TCompressionLevel> levels = {
        {"fastest", clFastest}, {"default", clDefault}, {"best", clMax}, {"none", clNone}};
    if (parser.isSet(level)) {
        const auto chosen = levels.find(parser.value(level));
        if (chosen == levels.end())
            return parser.usageError(QStringLiteral("Neznámá úroveň komprese: ") + parser.value(level),
                                     streams);
        backup.setCompressionLevel(chosen->second);
    }
    if (parser.isSet(volumeSize)) {
        bool ok = false;
        const qint64 size = parser.value(volumeSize).toLongLong(&ok);
        if (!ok || size < kSmallestVolume)
            return parser.usageError(
                QStringLiteral("--volume-size musí být počet bajtů, nejméně %1.").arg(kSmallestVolume),
                streams);
        backup.setMaxSize(size);
    }
    // An archive without a title would list nothing in the window.
    backup.setBackupTitle(parser.isSet(title) ? parser.value(title)
                                              : QStringLiteral("Záloha ") +
                                                    stationLocale().toString(QDateTime::currentDateTime(),
                                                                             QLocale::ShortFormat));
    backup.setSaveFileID(parser.isSet(fileIds));
    if (parser.isSet(incremental)) {
        backup.setRecordFile(BackupRecord::pathIn(BackupSession::dataFolder(parser.value(data))));
        backup.setBackupMode(bmIncremental);
    }
    const QString archive = QFileInfo(words.first()).absoluteFilePath();
    QDir().mkpath(QFileInfo(archive).absolutePath());
    QStringList sources;
    for (const QString& path : words.mid(1))
        sources << sourceOf(path);
    const bool done = backup.BackupFiles(sources, archive);
    for (const QString& skipped : backup.SkippedFiles())
        streams.err << QStringLiteral("Vynecháno, není obyčejný soubor: ") << skipped << Qt::endl;
    backup.ReadArchiveInfo(archive);
    if (!done) {
        streams.err << QStringLiteral("Záloha nebyla dokončena, předchozí záloha zůstala beze změny: ")
                    << archive << Qt::endl;
        return 1;
    }
    streams.out << QStringLiteral("%1: souborů %2, %3 bajtů, kompresní poměr %4 %")
                       .arg(archive)
                       .arg(backup.FileCount())
                       .arg(backup.TotalSize())
                       .arg(backup.CompressionRatio())
                << Qt::endl;
    return backup.lastError() == 0 ? 0 : 1;
}
