// The live results page under load: N WebSocket clients (default 10, 100 and 500 in turn) connected
// while a race closes laps, and what that costs the station.
//
//   web_clients [seconds] [--clients N]...
//   web_clients --history N
//
// With --history: N races kept in a fresh "vysledky" (two to four karts, 10-40 laps each), and the
// time to the first byte of the history's list, of one race and of a race's results sheet (the first
// time and cached), median and p99 over repeated requests from one client, and the station's memory.
//
// The station's part runs here as in the program: the race's feed on the main thread, the server on
// its own thread. The clients run in a child process (this program with --client-process), so that
// their work is not counted as the station's. A lap is closed every 50-150 ms (far more often than on
// a track, so that one run gives enough laps to measure); each client notes when each lap reaches it.
// Both processes read the same monotonic clock, so the latency is the client's receipt less the
// instant the station closed the lap. Printed: connected clients, laps, latency p50/p99/max, and the
// station's CPU per second of race.
#include "base/MonotonicClock.h"
#include "config/TSettings.h"
#include "display/LiveRaceFeed.h"
#include "display/LiveResults.h"
#include "display/TRaceProgress.h"
#include "printing/KeptRacePdf.h"
#include "timing/LapList.h"
#include "timing/LapTime.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QGuiApplication>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRandomGenerator>
#include <QSocketNotifier>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QTimer>
#include <QWebSocket>

#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace {

qint64 processCpuUs() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return qint64(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) * 1'000'000 + usage.ru_utime.tv_usec +
           usage.ru_stime.tv_usec;
}

// Every client of this benchmark comes from 127.0.0.1, standing for as many phones in the stands: the
// cap per address is raised to the cap in all.
LiveServerLimits phonesOnOneLoopback() {
    LiveServerLimits limits;
    limits.connections.maxPerAddress = limits.connections.maxConnections;
    return limits;
}

// The child: opens N pages' WebSockets, notes each lap count's first receipt per client, and prints
// "count microseconds" lines for every receipt when its standard input closes.
int clientProcess(int clients, int port) {
    std::vector<std::unique_ptr<QWebSocket>> sockets;
    std::vector<std::pair<int, qint64>> receipts;
    receipts.reserve(1 << 20);
    int connected = 0;
    for (int i = 0; i < clients; ++i) {
        auto socket = std::make_unique<QWebSocket>();
        QWebSocket* raw = socket.get();
        auto last = std::make_shared<int>(-1);
        QObject::connect(raw, &QWebSocket::connected, [&connected, clients] {
            if (++connected == clients) {
                std::printf("ready\n");
                std::fflush(stdout);
            }
        });
        QObject::connect(raw, &QWebSocket::textMessageReceived, [&receipts, last](const QString& text) {
            const qint64 now = SteadyClock::instance().nowUs();
            const QJsonObject race = QJsonDocument::fromJson(text.toUtf8()).object();
            if (!race.contains(QStringLiteral("karts")))
                return; // a heartbeat
            int count = 0;
            for (const QJsonValue& kart : race[QStringLiteral("karts")].toArray())
                count += kart.toObject()[QStringLiteral("count")].toInt();
            if (count != *last) {
                *last = count;
                receipts.emplace_back(count, now);
            }
        });
        raw->open(QUrl(QStringLiteral("ws://127.0.0.1:%1/live").arg(port)));
        sockets.push_back(std::move(socket));
    }
    // The parent closes our standard input when the race is over.
    QSocketNotifier input(0, QSocketNotifier::Read);
    QObject::connect(&input, &QSocketNotifier::activated, [&] {
        char buffer[64];
        if (::read(0, buffer, sizeof buffer) > 0)
            return;
        input.setEnabled(false);
        for (const auto& [count, us] : receipts)
            std::printf("%d %lld\n", count, static_cast<long long>(us));
        std::printf("connected %d\n", connected);
        std::fflush(stdout);
        QCoreApplication::quit();
    });
    return QCoreApplication::exec();
}

struct Result {
    int clients = 0;
    int connected = 0;
    int laps = 0;
    std::vector<double> latencyMs;
    double cpuPercent = 0;
};

double percentile(std::vector<double> values, double p) {
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    return values[std::min(values.size() - 1, size_t(p * double(values.size() - 1) + 0.5))];
}

Result run(int clients, int seconds) {
    Result result;
    result.clients = clients;
    TSettings settings;
    LapList lists[4];
    TRaceProgress progress(settings);
    progress.follow({&lists[0], &lists[1], &lists[2], &lists[3]});
    LiveResults live(SteadyClock::instance(), phonesOnOneLoopback());
    LiveRaceFeed feed(progress, SteadyClock::instance(), [] { return 10; });
    QObject::connect(&feed, &LiveRaceFeed::published, &live, &LiveResults::publish);
    QEventLoop wait;
    QObject::connect(&live, &LiveResults::listening, &wait, &QEventLoop::quit);
    int port = 0;
    {
        QTcpServer probe; // a free port, as the operator would choose one
        probe.listen(QHostAddress::Any, 0);
        port = probe.serverPort();
    }
    live.apply(true, port);
    wait.exec();

    QProcess child;
    if (clients > 0) {
        child.start(QCoreApplication::applicationFilePath(),
                    {QStringLiteral("--client-process"), QString::number(clients), QString::number(port)});
        child.waitForStarted();
        // Every client connected, or as many as could in half a minute.
        QElapsedTimer connecting;
        connecting.start();
        while (!child.canReadLine() && child.state() == QProcess::Running && connecting.elapsed() < 30000)
            child.waitForReadyRead(100);
        if (child.canReadLine())
            child.readLine();
    }

    std::map<int, qint64> closedAt; // lap count -> instant
    QRandomGenerator random(15);
    int count = 0;
    QTimer lap;
    lap.setSingleShot(true);
    QObject::connect(&lap, &QTimer::timeout, [&] {
        const int kart = 1 + int(random.bounded(4));
        ++count;
        closedAt[count] = SteadyClock::instance().nowUs();
        lists[kart - 1].appendAndSelect(FormatLapTime(30000 + qint64(random.bounded(9000))));
        lap.start(50 + int(random.bounded(100)));
    });
    const qint64 cpuBefore = processCpuUs();
    const qint64 start = SteadyClock::instance().nowUs();
    feed.raceStarted(start);
    lap.start(100);
    QTimer end;
    end.setSingleShot(true);
    QObject::connect(&end, &QTimer::timeout, &wait, &QEventLoop::quit);
    end.start(seconds * 1000);
    wait.exec();
    lap.stop();
    const qint64 elapsed = SteadyClock::instance().nowUs() - start;
    result.cpuPercent = 100.0 * double(processCpuUs() - cpuBefore) / double(elapsed);
    feed.raceStopped();
    result.laps = count;

    if (clients > 0) {
        // Let the last laps arrive, then collect.
        QTimer::singleShot(500, &wait, &QEventLoop::quit);
        wait.exec();
        child.closeWriteChannel();
        child.waitForFinished(60000);
        while (child.canReadLine()) {
            const QByteArray line = child.readLine().trimmed();
            if (line.startsWith("connected ")) {
                result.connected = line.mid(10).toInt();
                continue;
            }
            const QList<QByteArray> parts = line.split(' ');
            if (parts.size() != 2)
                continue;
            const auto it = closedAt.find(parts[0].toInt());
            if (it != closedAt.end())
                result.latencyMs.push_back(double(parts[1].toLongLong() - it->second) / 1000.0);
        }
    }
    return result;
}

long residentKb() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("VmRSS:", 0) == 0)
            return std::atol(line.c_str() + 6);
    }
    return 0;
}

// One GET on a fresh connection: ms from sending to the first byte of the answer, and its status.
std::pair<double, int> timeToFirstByte(int port, const QByteArray& path) {
    QTcpSocket socket;
    socket.connectToHost(QStringLiteral("127.0.0.1"), quint16(port));
    if (!socket.waitForConnected(5000))
        return {-1, 0};
    QElapsedTimer timer;
    timer.start();
    socket.write("GET " + path + " HTTP/1.1\r\nHost: bench\r\nConnection: close\r\n\r\n");
    socket.waitForReadyRead(30000);
    const double ms = double(timer.nsecsElapsed()) / 1e6;
    // The whole answer is read (the server keeps the connection open), so that the next request
    // finds the server idle.
    QByteArray head = socket.readAll();
    const auto complete = [&head] {
        const int end = head.indexOf("\r\n\r\n");
        if (end < 0)
            return false;
        const int at = head.toLower().indexOf("content-length:");
        return at < 0 || head.size() - end - 4 >=
                             head.mid(at + 15, head.indexOf("\r\n", at) - at - 15).trimmed().toInt();
    };
    while (!complete() && socket.waitForReadyRead(30000))
        head += socket.readAll();
    return {ms, head.mid(9, 3).toInt()};
}

int history(int races) {
    QTemporaryDir temp;
    const QString folder = temp.filePath(QStringLiteral("vysledky"));
    QDir().mkpath(folder);
    QElapsedTimer made;
    made.start();
    QRandomGenerator random(7);
    QDateTime start(QDate(2020, 1, 1), QTime(9, 0));
    QString someId;
    for (int r = 0; r < races; ++r) {
        start = start.addSecs(600 + random.bounded(3600));
        const int karts = 2 + random.bounded(3);
        for (int k = 1; k <= karts; ++k) {
            QStringList laps;
            for (int lap = 10 + random.bounded(31); lap > 0; --lap)
                laps << FormatLapTime(28000 + random.bounded(6000));
            // Written plainly: the station's careful writing would make this take minutes.
            QFile file(QDir(folder).filePath(start.toString(QStringLiteral("yyyy-MM-dd HH-mm-ss")) +
                                             QStringLiteral(" kara%1.txt").arg(k)));
            if (file.open(QIODevice::WriteOnly))
                file.write((laps.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n")).toLatin1());
        }
        if (r == races / 2)
            someId = start.toString(QStringLiteral("yyyy-MM-dd_HH-mm-ss"));
    }
    std::printf("History: %d kept races written in %.1f s\n", races, double(made.elapsed()) / 1000);
    const long before = residentKb();
    LiveResults live(SteadyClock::instance(), phonesOnOneLoopback());
    QEventLoop wait;
    QObject::connect(&live, &LiveResults::listening, &wait, &QEventLoop::quit);
    live.setHistory(folder,
                    [](const std::array<QString, 4>& files) { return keptRaceResultsPdf({}, files); });
    int port = 0;
    {
        QTcpServer probe;
        probe.listen(QHostAddress::LocalHost);
        port = probe.serverPort();
    }
    live.apply(true, port);
    wait.exec();
    const auto measure = [port](const char* what, const QByteArray& path, int times) {
        std::vector<double> ms;
        int status = 0;
        for (int i = 0; i < times; ++i) {
            const auto [t, s] = timeToFirstByte(port, path);
            ms.push_back(t);
            status = s;
        }
        std::printf("%-34s %6d %10.1f %10.1f %10.1f %8d\n", what, times, percentile(ms, 0.5),
                    percentile(ms, 0.99), percentile(ms, 1.0), status);
    };
    std::printf("%-34s %6s %10s %10s %10s %8s\n", "request (time to first byte)", "times", "p50 ms", "p99 ms",
                "max ms", "status");
    measure("/api/zavody, the first look", "/api/zavody", 1);
    measure("/zavody (the list's page)", "/zavody", 200);
    measure("/api/zavody (newest 100)", "/api/zavody", 200);
    measure("/api/zavody?od=5000", "/api/zavody?od=5000", 200);
    measure("/zavody/<id> (one race's page)", "/zavody/" + someId.toLatin1(), 200);
    measure("/api/zavody/<id> (its laps)", "/api/zavody/" + someId.toLatin1(), 200);
    measure("/zavody/<id>/vysledky.pdf, first", "/zavody/" + someId.toLatin1() + "/vysledky.pdf", 1);
    measure("/zavody/<id>/vysledky.pdf, cached", "/zavody/" + someId.toLatin1() + "/vysledky.pdf", 20);
    std::printf("station's memory: %ld kB resident, %ld kB more than before the server\n", residentKb(),
                residentKb() - before);
    return 0;
}

} // namespace

int main(int argc, char* argv[]) {
    if (argc == 3 && std::strcmp(argv[1], "--history") == 0) {
        // The results sheet draws text: fonts need the GUI application (offscreen is enough).
        qputenv("QT_QPA_PLATFORM", "offscreen");
        QGuiApplication app(argc, argv);
        return history(std::max(1, std::atoi(argv[2])));
    }
    QCoreApplication app(argc, argv);
    if (argc == 4 && std::strcmp(argv[1], "--client-process") == 0)
        return clientProcess(std::atoi(argv[2]), std::atoi(argv[3]));
    int seconds = 20;
    std::vector<int> counts;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--clients") == 0 && i + 1 < argc)
            counts.push_back(std::atoi(argv[++i]));
        else
            seconds = std::max(1, std::atoi(argv[i]));
    }
    if (counts.empty())
        counts = {0, 10, 100, 500};
    std::printf("Live page: a lap every 50-150 ms for %d s, clients in a child process\n\n", seconds);
    std::printf("%8s %10s %6s %10s %10s %10s %14s\n", "clients", "connected", "laps", "p50 ms", "p99 ms",
                "max ms", "station CPU %");
    for (int clients : counts) {
        const Result r = run(clients, seconds);
        std::printf("%8d %10d %6d %10.1f %10.1f %10.1f %14.2f\n", r.clients, r.connected, r.laps,
                    percentile(r.latencyMs, 0.5), percentile(r.latencyMs, 0.99), percentile(r.latencyMs, 1.0),
                    r.cpuPercent);
        std::fflush(stdout);
    }
    return 0;
}
