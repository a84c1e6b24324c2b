#include "backup/BackupCommand.h"

#include "backup/ArchiveLayout.h"
#include "backup/BackupRecord.h"
#include "backup/TBackupFile.h"
#include "base/StationLocale.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QTextStream>

#include <cstdio>
#include <map>

namespace {

const char* const kUsage =
    "usage: tarvolin-cli backup create ARCHIVE.bck [--title T] [--level fastest|default|best|none]\n"
    "                              [--file-ids] [--incremental] [--volume-size BYTES] [--data DIR] PATH...\n"
    "       tarvolin-cli backup list ARCHIVE.bck\n"
    "       tarvolin-cli backup restore ARCHIVE.bck [--to DIR [--full-path]]\n"
    "                              [--mode all|no-overwrite|newer|existing|existing-newer] [--data DIR]\n"
    "       tarvolin-cli backup verify ARCHIVE.bck\n";

// Volumes smaller than this could not hold a block beside the reserve the format keeps.
constexpr qint64 kSmallestVolume = 32768;

// The words of one command: options with or without a value, and the rest in order.
struct Words {
    std::map<QString, QString> options;
    QStringList positional;
    QString problem;
};

Words split(const QStringList& args, const QStringList& withValue, const QStringList& flags) {
    Words words;
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString& word = args[i];
        if (withValue.contains(word)) {
            if (i + 1 >= args.size()) {
                words.problem = word + QStringLiteral(" needs a value");
                break;
            }
            words.options[word] = args[++i];
        } else if (flags.contains(word)) {
            words.options[word] = QString();
        } else if (word.startsWith(QLatin1String("--"))) {
            words.problem = QStringLiteral("unknown option ") + word;
            break;
        } else {
            words.positional << word;
        }
    }
    return words;
}

QString dataFolderOf(const Words& words) {
    const auto given = words.options.find(QStringLiteral("--data"));
    if (given != words.options.end())
        return QDir(given->second).absolutePath();
    return QCoreApplication::instance() ? QCoreApplication::applicationDirPath() : QDir::currentPath();
}

// A folder stands for every file in it and below it.
QString sourceOf(const QString& path) {
    const QFileInfo info(path);
    if (info.isDir())
        return info.absoluteFilePath() + QStringLiteral("/*.* /s");
    return info.absoluteFilePath();
}

class Command {
public:
    Command(QTextStream& out, QTextStream& err, QTextStream* in) : m_out(out), m_err(err), m_in(in) {
        m_backup.setLetEventsRun(false);
        m_backup.OnError = [this](int, const QString& text) { m_err << text << Qt::endl; };
        m_backup.OnNeedDisk = [this](quint16 disk, bool& go) { go = askForDisk(disk); };
    }

    int create(const QStringList& args);
    int list(const QStringList& args);
    int restore(const QStringList& args);
    int verify(const QStringList& args);

private:
    bool askForDisk(quint16 disk);
    int usage(const QString& problem) {
        m_err << problem << '\n' << kUsage;
        m_err.flush();
        return 2;
    }

    QTextStream& m_out;
    QTextStream& m_err;
    QTextStream* m_in;
    // Only reading asks for a volume; writing puts them beside each other.
    bool m_asking = false;
    TBackupFile m_backup;
};

bool Command::askForDisk(quint16 disk) {
    // Writing, the volumes simply follow each other in the archive's folder.
    if (!m_asking)
        return true;
    m_err << QStringLiteral("Please insert disk %1 and click OK to continue.").arg(disk) << Qt::endl;
    m_err << QStringLiteral("(Enter: OK, end of input: Cancel)") << Qt::endl;
    QTextStream standardInput(stdin);
    QTextStream& in = m_in ? *m_in : standardInput;
    QString line;
    return in.readLineInto(&line);
}

int Command::create(const QStringList& args) {
    const Words words =
        split(args, {"--title", "--level", "--volume-size", "--data"}, {"--file-ids", "--incremental"});
    if (!words.problem.isEmpty())
        return usage(words.problem);
    if (words.positional.size() < 2)
        return usage(QStringLiteral("create needs an archive and at least one path"));
    const std::map<QString, TCompressionLevel> levels = {
        {"fastest", clFastest}, {"default", clDefault}, {"best", clMax}, {"none", clNone}};
    if (words.options.count("--level")) {
        const auto level = levels.find(words.options.at("--level"));
        if (level == levels.end())
            return usage(QStringLiteral("unknown level ") + words.options.at("--level"));
        m_backup.setCompressionLevel(level->second);
    }
    if (words.options.count("--volume-size")) {
        bool ok = false;
        const qint64 size = words.options.at("--volume-size").toLongLong(&ok);
        if (!ok || size < kSmallestVolume)
            return usage(
                QStringLiteral("--volume-size must be a number of bytes, at least %1").arg(kSmallestVolume));
        m_backup.setMaxSize(size);
    }
    // An archive without a title would list nothing in the window.
    m_backup.setBackupTitle(
        words.options.count("--title")
            ? words.options.at("--title")
            : QStringLiteral("Záloha ") +
                  stationLocale().toString(QDateTime::currentDateTime(), QLocale::ShortFormat));
    m_backup.setSaveFileID(words.options.count("--file-ids") > 0);
    if (words.options.count("--incremental")) {
        m_backup.setRecordFile(BackupRecord::pathIn(dataFolderOf(words)));
        m_backup.setBackupMode(bmIncremental);
    }
    const QString archive = QFileInfo(words.positional.first()).absoluteFilePath();
    QDir().mkpath(QFileInfo(archive).absolutePath());
    QStringList sources;
    for (const QString& path : words.positional.mid(1))
        sources << sourceOf(path);
    const bool done = m_backup.BackupFiles(sources, archive);
    for (const QString& skipped : m_backup.SkippedFiles())
        m_err << QStringLiteral("Skipped, not a regular file: ") << skipped << Qt::endl;
    m_backup.ReadArchiveInfo(archive);
    if (!done) {
        m_err << QStringLiteral("The backup failed; the previous archive is unchanged: ") << archive
              << Qt::endl;
        return 1;
    }
    m_out << QStringLiteral("%1: %2 files, %3 bytes, compression ratio %4 %")
                 .arg(archive)
                 .arg(m_backup.FileCount())
                 .arg(m_backup.TotalSize())
                 .arg(m_backup.CompressionRatio())
          << Qt::endl;
    return m_backup.lastError() == 0 ? 0 : 1;
}

int Command::list(const QStringList& args) {
    const Words words = split(args, {}, {});
    if (!words.problem.isEmpty() || words.positional.size() != 1)
        return usage(words.problem.isEmpty() ? QStringLiteral("list needs one archive") : words.problem);
    const QString archive = words.positional.first();
    if (!QFileInfo(archive).isFile()) {
        m_err << QStringLiteral("No such archive: ") << archive << Qt::endl;
        return 1;
    }
    QStringList lines;
    const QString title = m_backup.ReadArchiveInfo(archive, &lines);
    if (m_backup.lastError() != 0)
        return 1;
    m_out << QStringLiteral("Title: ") << title << '\n'
          << QStringLiteral("Files: ") << m_backup.FileCount() << '\n'
          << QStringLiteral("Size: ") << m_backup.TotalSize() << QStringLiteral(" bytes") << '\n';
    for (const QString& line : lines)
        m_out << line << '\n';
    m_out.flush();
    if (!ArchiveLayout::read(archive).whole()) {
        m_err << QStringLiteral("The archive is damaged: it ends early: ") << archive << Qt::endl;
        return 1;
    }
    return 0;
}

int Command::restore(const QStringList& args) {
    const Words words = split(args, {"--to", "--mode", "--data"}, {"--full-path"});
    if (!words.problem.isEmpty())
        return usage(words.problem);
    if (words.positional.size() != 1)
        return usage(QStringLiteral("restore needs one archive"));
    const std::map<QString, TRestoreMode> modes = {{"all", rmAll},
                                                   {"no-overwrite", rmNoOverwrite},
                                                   {"newer", rmNewer},
                                                   {"existing", rmExisting},
                                                   {"existing-newer", rmExistingNewer}};
    if (words.options.count("--mode")) {
        const auto mode = modes.find(words.options.at("--mode"));
        if (mode == modes.end())
            return usage(QStringLiteral("unknown mode ") + words.options.at("--mode"));
        m_backup.setRestoreMode(mode->second);
    }
    const QString target = words.options.count("--to") ? words.options.at("--to") : QString();
    if (words.options.count("--full-path") && target.isEmpty())
        return usage(QStringLiteral("--full-path needs --to"));
    if (words.options.count("--to") && target.trimmed().isEmpty())
        return usage(QStringLiteral("--to needs a folder"));
    m_backup.setRestoreFullPath(words.options.count("--full-path") > 0);
    m_backup.setDataFolder(dataFolderOf(words));
    const QString archive = words.positional.first();
    if (!QFileInfo(archive).isFile()) {
        m_err << QStringLiteral("No such archive: ") << archive << Qt::endl;
        return 1;
    }
    m_asking = true;
    bool done = false;
    try {
        done = m_backup.RestoreArchive(archive, target.isEmpty() ? QString() : QDir(target).absolutePath());
    } catch (const BackupError& error) {
        m_err << error.message() << Qt::endl;
    }
    if (!done) {
        m_err << QStringLiteral("The restore failed: ") << archive << Qt::endl;
        return 1;
    }
    return 0;
}

int Command::verify(const QStringList& args) {
    const Words words = split(args, {}, {});
    if (!words.problem.isEmpty() || words.positional.size() != 1)
        return usage(words.problem.isEmpty() ? QStringLiteral("verify needs one archive") : words.problem);
    const QString archive = words.positional.first();
    m_asking = true;
    if (!m_backup.VerifyArchive(archive)) {
        m_err << archive << QStringLiteral(": ") << m_backup.lastErrorText() << Qt::endl;
        return 1;
    }
    m_out << archive << QStringLiteral(": OK, %1 files").arg(m_backup.FileCount()) << Qt::endl;
    return 0;
}

} // namespace

int runBackupCommand(const QStringList& args, QTextStream& out, QTextStream& err, QTextStream* in) {
    Command command(out, err, in);
    const QString what = args.value(0);
    const QStringList rest = args.mid(1);
    if (what == QLatin1String("create"))
        return command.create(rest);
    if (what == QLatin1String("list"))
        return command.list(rest);
    if (what == QLatin1String("restore"))
        return command.restore(rest);
    if (what == QLatin1String("verify"))
        return command.verify(rest);
    err << kUsage;
    err.flush();
    return 2;
}
