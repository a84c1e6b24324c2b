// The FTP send against a real server on loopback (pyftpdlib, started here): four files of 1 MB and
// the two best-twenty pictures, made by the best-twenty window as the page makes them. The same six
// files are then uploaded by Python's ftplib in one process, over one connection per round, in the
// same run. Active and passive mode; the median of several rounds each. "upload" is the send less the
// making of the pictures, which ftplib is spared.
//
//   ftp_upload [rounds]

#include "config/TSettings.h"
#include "rankings/BestTwentyTables.h"
#include "rankings/FtpClient.h"
#include "rankings/FtpSend.h"
#include "rankings/ui/TopTen10.h"
#include "rankings/ui/UpravDlg.h"
#include "rankings/ui/UpravDlg1.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

const char* const User = "tester";
const char* const Password = "tajne heslo";

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values.empty() ? 0 : values[values.size() / 2];
}

// ftplib over the same files: one line "ms" per round.
const char* const FtplibScript = R"(
import ftplib, sys, time
port, passive, rounds = int(sys.argv[1]), sys.argv[2] == "1", int(sys.argv[3])
files = sys.argv[4:]
for _ in range(rounds):
    start = time.perf_counter()
    f = ftplib.FTP()
    f.connect("127.0.0.1", port)
    f.login("tester", "tajne heslo")
    f.set_pasv(passive)
    f.voidcmd("TYPE I")
    for path in files:
        with open(path, "rb") as fh:
            f.storbinary("STOR ftplib_" + path.rsplit("/", 1)[-1], fh, 64 * 1024)
    print((time.perf_counter() - start) * 1000, flush=True)
    f.quit()
)";

} // namespace

int main(int argc, char* argv[]) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int rounds = argc > 1 ? qMax(1, atoi(argv[1])) : 7;

    QTemporaryDir local;
    QTemporaryDir root;
    TSettings settings;
    settings.Ftp.Hostitel = QStringLiteral("127.0.0.1");
    settings.Ftp.Jmeno = QString::fromLatin1(User);
    QStringList files;
    for (int i = 1; i <= 4; ++i) {
        const QString path = local.filePath(QStringLiteral("soubor%1.bin").arg(i));
        QByteArray bytes(1024 * 1024, Qt::Uninitialized);
        QRandomGenerator random(i);
        for (char& b : bytes)
            b = char(random.bounded(256));
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
            return 1;
        files << path;
        settings.Ftp.Posilat[i - 1] = true;
        settings.Ftp.Soubor[i - 1] = path;
    }
    settings.Ftp.Posilat[3] = false; // entry 4 and the tables share their slot
    settings.Ftp.Posilat[4] = true;
    settings.Ftp.Soubor[3] = local.filePath(QStringLiteral("Tabulky"));

    BestTwentyTables tables(local.path(), settings);
    TUpravDlg menEdit;
    TUpravDlg1 womenEdit;
    TTopTen10Frm topTen(tables, menEdit, womenEdit);

    QProcess server;
    server.start(QStringLiteral("/usr/bin/python3"),
                 {QStringLiteral(TARVOLIN_SOURCE_DIR "/tests/support/ftp_server.py"),
                  QStringLiteral("--root"), root.path(), QStringLiteral("--user"), QString::fromLatin1(User),
                  QStringLiteral("--password"), QString::fromLatin1(Password)});
    quint16 port = 0;
    QByteArray output;
    while (port == 0 && server.waitForReadyRead(30000)) {
        output += server.readAllStandardOutput();
        for (const QByteArray& line : output.split('\n')) {
            if (line.startsWith("port "))
                port = quint16(line.mid(5).trimmed().toUInt());
        }
    }
    if (port == 0) {
        std::fprintf(stderr, "the FTP server did not start: %s\n", server.readAllStandardError().constData());
        return 1;
    }

    std::printf("FTP send of 4 x 1 MB and the two table pictures to pyftpdlib on loopback, %d rounds\n",
                rounds);
    std::printf("%-8s %10s %12s %10s %10s %13s %15s\n", "mode", "send ms", "pictures ms", "upload ms",
                "ftplib ms", "send/ftplib", "upload/ftplib");
    for (const bool passive : {false, true}) {
        settings.Ftp.Pasivni = passive;
        std::vector<double> sends, pictures, uploads;
        for (int round = 0; round < rounds; ++round) {
            FtpClient client;
            FtpSend send(settings, client);
            send.setDefaultPort(port);
            QElapsedTimer pictureClock;
            double pictureMs = 0;
            send.hooks().makeTablePictures = [&](const QString& men, const QString& women) {
                pictureClock.start();
                topTen.saveFtpPictures(men, women);
                pictureMs = pictureClock.nsecsElapsed() / 1e6;
            };
            bool failed = false;
            send.hooks().showError = [&](const QString& message) {
                std::fprintf(stderr, "%s\n", qPrintable(message));
                failed = true;
            };
            QEventLoop loop;
            QObject::connect(&send, &FtpSend::sendEnded, &loop, &QEventLoop::quit);
            QTimer::singleShot(120000, &loop, &QEventLoop::quit);
            QElapsedTimer clock;
            clock.start();
            send.send(QString::fromLatin1(Password));
            loop.exec();
            const double ms = clock.nsecsElapsed() / 1e6;
            if (failed || send.sending())
                return 1;
            sends.push_back(ms);
            pictures.push_back(pictureMs);
            uploads.push_back(ms - pictureMs);
            client.abort();
        }
        QStringList arguments = {QStringLiteral("-c"), QString::fromLatin1(FtplibScript),
                                 QString::number(port), passive ? QStringLiteral("1") : QStringLiteral("0"),
                                 QString::number(rounds)};
        arguments << files << local.filePath(QStringLiteral("Tabulky_muzi.jpg"))
                  << local.filePath(QStringLiteral("Tabulky_zeny.jpg"));
        QProcess ftplib;
        ftplib.start(QStringLiteral("/usr/bin/python3"), arguments);
        ftplib.waitForFinished(300000);
        std::vector<double> theirs;
        for (const QByteArray& line : ftplib.readAllStandardOutput().split('\n')) {
            if (!line.trimmed().isEmpty())
                theirs.push_back(line.toDouble());
        }
        if (theirs.empty()) {
            std::fprintf(stderr, "ftplib failed: %s\n", ftplib.readAllStandardError().constData());
            return 1;
        }
        std::printf("%-8s %10.1f %12.1f %10.1f %10.1f %13.2f %15.2f\n", passive ? "passive" : "active",
                    median(sends), median(pictures), median(uploads), median(theirs),
                    median(sends) / median(theirs), median(uploads) / median(theirs));
    }
    server.kill();
    server.waitForFinished();
    return 0;
}
