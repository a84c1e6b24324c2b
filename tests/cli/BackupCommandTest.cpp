// "tarvolin-cli backup": the four commands as a cron job would run them, and their exit statuses.
#include "TempDataFolder.h"

#include "cli/CliTool.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QTextStream>

#include <gtest/gtest.h>
#include <sys/stat.h>

namespace {

struct CommandRun {
    int status = -1;
    QString out;
    QString err;
};

CommandRun backup(const QStringList& args, const QString& input = QString()) {
    CommandRun run;
    QTextStream out(&run.out);
    QTextStream err(&run.err);
    QString inputText = input;
    QTextStream in(&inputText);
    CliStreams streams{out, err, &in};
    run.status = runCliTool(QStringList{QStringLiteral("backup")} + args, streams);
    out.flush();
    err.flush();
    return run;
}

QByteArray randomBytes(int size) {
    QByteArray bytes(size, Qt::Uninitialized);
    for (char& byte : bytes)
        byte = char(QRandomGenerator::global()->generate());
    return bytes;
}

// Every file below folder, by its path relative to it, with its content.
QMap<QString, QByteArray> filesBelow(const QString& folder) {
    QMap<QString, QByteArray> files;
    QDirIterator it(folder, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        QFile file(path);
        file.open(QIODevice::ReadOnly);
        files.insert(QDir(folder).relativeFilePath(path), file.readAll());
    }
    return files;
}

} // namespace

TEST(BackupCommand, CreateListVerifyAndRestoreOverVolumes) {
    TempDataFolder data;
    data.writeFile(QStringLiteral("src/tarvolin.ini"), "[Zvuk]\r\nHrat=1\r\n");
    data.writeFile(QStringLiteral("src/vysledky/kara1"), randomBytes(70000));
    data.writeFile(QStringLiteral("src/vysledky/prazdny"), QByteArray());
    const QString source = data.filePath(QStringLiteral("src"));
    const QString archive = data.filePath(QStringLiteral("zaloha/noc.bck"));

    CommandRun run = backup({"create", archive, "--title", "noční záloha", "--level", "best", "--file-ids",
                             "--volume-size", "40000", source});
    ASSERT_EQ(run.status, 0) << run.err.toStdString();
    EXPECT_TRUE(QFile::exists(data.filePath(QStringLiteral("zaloha/noc.003"))));

    run = backup({"list", archive});
    ASSERT_EQ(run.status, 0) << run.err.toStdString();
    const QStringList lines = run.out.split(u'\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 6);
    EXPECT_EQ(lines[0], QStringLiteral("Název: noční záloha"));
    EXPECT_EQ(lines[1], QStringLiteral("Souborů: 3"));
    // The data, and the file-ID list's three lines with their CR LF.
    EXPECT_EQ(
        lines[2],
        QStringLiteral("Velikost: %1 bajtů").arg(70000 + 16 + run.out.section(u'\n', 3).toUtf8().size() + 3));
    EXPECT_TRUE(lines[3].startsWith(source + QStringLiteral("/vysledky/kara1\t")));
    EXPECT_TRUE(lines[5].endsWith(QStringLiteral("=16"))) << lines[5].toStdString();

    run = backup({"verify", archive});
    EXPECT_EQ(run.status, 0) << run.err.toStdString();
    EXPECT_EQ(run.out.trimmed(), archive + QStringLiteral(": v pořádku, souborů 3"));

    const QString target = data.filePath(QStringLiteral("obnova"));
    run = backup({"restore", archive, "--to", target, "--full-path"});
    ASSERT_EQ(run.status, 0) << run.err.toStdString();
    EXPECT_EQ(filesBelow(target + QLatin1Char('/') + source.mid(1)), filesBelow(source));

    // Without overwriting, a changed file stays as it is; the original place is the data folder.
    data.writeFile(QStringLiteral("src/tarvolin.ini"), "changed");
    run = backup({"restore", archive, "--mode", "no-overwrite", "--data", source});
    EXPECT_EQ(run.status, 0) << run.err.toStdString();
    EXPECT_EQ(data.readFile(QStringLiteral("src/tarvolin.ini")), QByteArray("changed"));
    run = backup({"restore", archive, "--data", source});
    EXPECT_EQ(run.status, 0) << run.err.toStdString();
    EXPECT_EQ(data.readFile(QStringLiteral("src/tarvolin.ini")), QByteArray("[Zvuk]\r\nHrat=1\r\n"));

    // A missing volume is asked for; no answer cancels.
    QFile::remove(data.filePath(QStringLiteral("zaloha/noc.002")));
    run = backup({"restore", archive, "--to", target});
    EXPECT_EQ(run.status, 1);
    EXPECT_TRUE(run.err.contains(QStringLiteral("Please insert disk 2 and click OK to continue.")));
    EXPECT_EQ(backup({"verify", archive}).status, 1);
}

TEST(BackupCommand, WrongCommandLinesAndFailuresGiveTheirStatus) {
    TempDataFolder data;
    const QString archive = data.filePath(QStringLiteral("a.bck"));
    EXPECT_EQ(backup({}).status, 2);
    EXPECT_EQ(backup({"pack", archive}).status, 2);
    EXPECT_EQ(backup({"create", archive}).status, 2);
    EXPECT_EQ(backup({"create", archive, "--level", "turbo", data.path()}).status, 2);
    EXPECT_EQ(backup({"create", archive, "--volume-size", "100", data.path()}).status, 2);
    EXPECT_EQ(backup({"restore", archive, "--full-path"}).status, 2);
    EXPECT_EQ(backup({"restore", archive, "--mode"}).status, 2);
    EXPECT_EQ(backup({"list", archive}).status, 1);
    EXPECT_EQ(backup({"restore", archive, "--to", data.path()}).status, 1);
    data.writeFile(QStringLiteral("a.bck"), QByteArray("\x05\0\0\0ab", 6));
    const CommandRun broken = backup({"restore", archive, "--to", data.path()});
    EXPECT_EQ(broken.status, 1);
    EXPECT_TRUE(broken.err.contains(QStringLiteral("Cannot read archive")));
    EXPECT_EQ(backup({"verify", archive}).status, 1);
}

TEST(BackupCommand, TheProgramRunsWithoutADisplay) {
    TempDataFolder data;
    data.writeFile(QStringLiteral("in/stav.ini"), "[Motokara1]\r\nNajeto=1:0\r\n");
    const QString archive = data.filePath(QStringLiteral("x.bck"));
    QProcess cli;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        env.remove(QString::fromLatin1(name));
    cli.setProcessEnvironment(env);
    cli.start(QStringLiteral(TARVOLIN_BINARY_DIR "/tarvolin-cli"),
              {"backup", "create", archive, data.filePath(QStringLiteral("in/stav.ini"))});
    ASSERT_TRUE(cli.waitForFinished(60000));
    EXPECT_EQ(cli.exitCode(), 0) << cli.readAllStandardError().toStdString();
    cli.start(QStringLiteral(TARVOLIN_BINARY_DIR "/tarvolin-cli"), {"backup", "verify", archive});
    ASSERT_TRUE(cli.waitForFinished(60000));
    EXPECT_EQ(cli.exitCode(), 0) << cli.readAllStandardError().toStdString();
    EXPECT_TRUE(cli.readAllStandardOutput().contains(QStringLiteral(": v pořádku, souborů 1").toUtf8()));
}

TEST(BackupCommand, AFifoAmongTheSourcesIsSkippedAndNamed) {
    TempDataFolder data;
    data.writeFile(QStringLiteral("station/stav.ini"), "[Motokara1]\r\nNajeto=1:0\r\n");
    const QString fifo = data.filePath(QStringLiteral("station/vysledky/roura"));
    QDir().mkpath(QFileInfo(fifo).absolutePath());
    ASSERT_EQ(mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    const QString archive = data.filePath(QStringLiteral("zaloha/f.bck"));
    QProcess cli;
    cli.start(QStringLiteral(TARVOLIN_BINARY_DIR "/tarvolin-cli"),
              {"backup", "create", archive, data.filePath(QStringLiteral("station"))});
    // Opening a FIFO waits for a writer that never comes: a backup that tries it does not end.
    const bool ended = cli.waitForFinished(60000);
    if (!ended)
        cli.kill();
    ASSERT_TRUE(ended);
    EXPECT_EQ(cli.exitCode(), 0);
    EXPECT_TRUE(cli.readAllStandardError().contains(QFile::encodeName(fifo)));
    EXPECT_EQ(backup({"verify", archive}).out.trimmed(), archive + QStringLiteral(": v pořádku, souborů 1"));
}

TEST(BackupCommand, AKillInTheMiddleLeavesThePreviousArchiveByteForByte) {
    TempDataFolder data;
    // Gigabytes that take no room: the backup is still reading when it is killed.
    QFile big(data.writeFile(QStringLiteral("station/vysledky/velky"), QByteArray()));
    ASSERT_TRUE(big.open(QIODevice::ReadWrite) && big.resize(qint64(16) << 30));
    big.close();
    const QString archive = data.filePath(QStringLiteral("zaloha/noc.bck"));
    const QByteArray previous("yesterday's archive");
    data.writeFile(QStringLiteral("zaloha/noc.bck"), previous);
    QProcess cli;
    cli.start(QStringLiteral(TARVOLIN_BINARY_DIR "/tarvolin-cli"),
              {"backup", "create", archive, data.filePath(QStringLiteral("station"))});
    ASSERT_TRUE(cli.waitForStarted());
    // Killed once it is reading the data (after the archive is open), or once the archive changed.
    const auto reading = [&cli, &big] {
        const QString fds = QStringLiteral("/proc/%1/fd").arg(cli.processId());
        for (const QFileInfo& fd :
             QDir(fds).entryInfoList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot))
            if (fd.symLinkTarget() == big.fileName())
                return true;
        return false;
    };
    QDeadlineTimer deadline(50000);
    while (!reading() && data.readFile(QStringLiteral("zaloha/noc.bck")) == previous &&
           cli.state() == QProcess::Running && !deadline.hasExpired())
        cli.waitForFinished(5);
    EXPECT_EQ(cli.state(), QProcess::Running);
    cli.kill();
    cli.waitForFinished();
    EXPECT_EQ(data.readFile(QStringLiteral("zaloha/noc.bck")), previous);
}

TEST(BackupCommand, WithoutATitleTheArchiveIsNamedByItsTimeAndTinyFilesShowNoNegativeRatio) {
    TempDataFolder data;
    const QString file = data.writeFile(QStringLiteral("stav.ini"), "x");
    const QString archive = data.filePath(QStringLiteral("t.bck"));
    const CommandRun created = backup({"create", archive, file});
    ASSERT_EQ(created.status, 0) << created.err.toStdString();
    EXPECT_TRUE(created.out.trimmed().endsWith(QStringLiteral("kompresní poměr 0 %")))
        << created.out.toStdString();
    EXPECT_TRUE(backup({"list", archive}).out.startsWith(QStringLiteral("Název: Záloha ")));
}
