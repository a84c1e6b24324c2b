// Backs up and restores about 200 MB of mixed files (lap texts and random bytes) at each compression
// level and sets the figures beside gzip -1, gzip -9 and gunzip on the same data in the same run.
//
// usage: backup [megabytes]   (default 200)
#include "backup/TBackupFile.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <cstdio>
#include <cstring>
#include <functional>

namespace {

// The process's peak resident memory since the last reset, in MB.
double peakMegabytes() {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').value(0).toDouble() / 1024.0;
    }
    return -1;
}

// Starts a new peak (Linux 4.0 and later); the figure then covers one operation.
void resetPeak() {
    QFile refs(QStringLiteral("/proc/self/clear_refs"));
    if (refs.open(QIODevice::WriteOnly))
        refs.write("5");
}

// Half lap texts, half random bytes, in files of 4 KB to 8 MB, written a megabyte at a time.
QStringList makeData(const QString& folder, qint64 totalBytes) {
    QRandomGenerator random(2024);
    QStringList files;
    qint64 written = 0;
    QByteArray chunk;
    for (int n = 0; written < totalBytes; ++n) {
        const bool text = n % 2 == 0;
        const qint64 size = std::min<qint64>(4096 + qint64(random.bounded(8 << 20)), totalBytes - written);
        const QString path =
            folder + QStringLiteral("/%1%2").arg(QLatin1String(text ? "kara" : "data")).arg(n);
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly))
            return {};
        for (qint64 left = size; left > 0;) {
            const int piece = int(std::min<qint64>(left, 1 << 20));
            chunk.resize(piece);
            if (text) {
                for (int at = 0; at < piece;) {
                    const QByteArray line = QByteArray::number(random.bounded(1, 500)) + "\tkara" +
                                            QByteArray::number(random.bounded(1, 5)) +
                                            "\t01:" + QByteArray::number(random.bounded(10, 60)) + ":" +
                                            QByteArray::number(random.bounded(100, 1000)) + "\r\n";
                    const int take = std::min<int>(int(line.size()), piece - at);
                    memcpy(chunk.data() + at, line.constData(), size_t(take));
                    at += take;
                }
            } else {
                for (char& byte : chunk)
                    byte = char(random.generate());
            }
            file.write(chunk);
            left -= piece;
        }
        written += size;
        files << path;
    }
    return files;
}

double secondsOf(const std::function<void()>& work) {
    QElapsedTimer timer;
    timer.start();
    work();
    return double(timer.nsecsElapsed()) / 1e9;
}

double runShell(const QString& script, const QStringList& args) {
    return secondsOf([&] {
        QProcess shell;
        shell.start(QStringLiteral("/bin/sh"),
                    QStringList{QStringLiteral("-c"), script, QStringLiteral("sh")} + args);
        shell.waitForFinished(-1);
    });
}

} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    const qint64 megabytes = argc > 1 ? QByteArray(argv[1]).toLongLong() : 200;
    QTemporaryDir work(QDir::tempPath() + QStringLiteral("/tarvolin-bench-XXXXXX"));
    const QString source = work.path() + QStringLiteral("/zdroj");
    QDir().mkpath(source);
    const QStringList files = makeData(source, megabytes << 20);
    qint64 total = 0;
    for (const QString& file : files)
        total += QFileInfo(file).size();
    const double mb = double(total) / (1 << 20);
    std::printf("%d files, %.1f MB (half lap texts, half random bytes)\n\n", int(files.size()), mb);
    std::printf("%-22s %10s %10s %12s %12s %12s\n", "", "seconds", "MB/s", "archive MB", "ratio %",
                "peak MB");

    const QString archive = work.path() + QStringLiteral("/zaloha.bck");
    const QString target = work.path() + QStringLiteral("/obnova");
    const struct {
        const char* name;
        TCompressionLevel level;
    } levels[] = {{"fastest", clFastest}, {"default", clDefault}, {"best", clMax}, {"none", clNone}};
    for (const auto& level : levels) {
        TBackupFile backup;
        backup.setLetEventsRun(false);
        backup.setCompressionLevel(level.level);
        resetPeak();
        const double packing =
            secondsOf([&] { backup.BackupFiles({source + QStringLiteral("/*.*")}, archive); });
        const double packPeak = peakMegabytes();
        const double archiveMb = double(QFileInfo(archive).size()) / (1 << 20);
        std::printf("backup  %-14s %10.2f %10.1f %12.1f %12d %12.1f\n", level.name, packing, mb / packing,
                    archiveMb, backup.CompressionRatio(), packPeak);
        resetPeak();
        const double unpacking = secondsOf([&] { backup.RestoreArchive(archive, target); });
        std::printf("restore %-14s %10.2f %10.1f %12s %12s %12.1f\n", level.name, unpacking, mb / unpacking,
                    "", "", peakMegabytes());
        QDir(target).removeRecursively();
        QFile::remove(archive);
    }

    const QString gz = work.path() + QStringLiteral("/data.gz");
    for (const char* option : {"-1", "-9"}) {
        const double seconds =
            runShell(QStringLiteral("cat \"$@\" | gzip %1 > '%2'").arg(QLatin1String(option), gz), files);
        std::printf("gzip %-17s %10.2f %10.1f %12.1f\n", option, seconds, mb / seconds,
                    double(QFileInfo(gz).size()) / (1 << 20));
        if (QByteArray(option) == "-1") {
            const double back =
                runShell(QStringLiteral("gunzip -c '%1' > '%2'").arg(gz, work.path() + "/data.raw"), {});
            std::printf("gunzip (of -1)         %10.2f %10.1f\n", back, mb / back);
            QFile::remove(work.path() + QStringLiteral("/data.raw"));
        }
    }
    return 0;
}
