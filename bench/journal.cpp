// Prints what the race's journal costs and what it saves.
// 1. Pass to durable: a station on real time and real sampler threads, four karts passing a sensor
//    every 60 ms; for each pass the time from the sensor's onset to its journal record being on this
//    disk (written and fdatasync()ed), and the write alone, as median and p99.
// 2. Kills: the program on a short scenario race, killed with SIGKILL at random instants and started
//    again on its data folder; the passes the journal held at the kill (a superset of those shown: a
//    lap is shown only after its record is durable) against the laps recovered in "vysledky".
// Usage: journal [kills (default 50)]
#include "base/MonotonicClock.h"
#include "config/TSettings.h"
#include "hardware/PortBackend.h"
#include "hardware/TSmallPort.h"
#include "lap/silent_station.h"
#include "timing/LapFile.h"
#include "timing/RaceJournalWriter.h"
#include "timing/Station.h"
#include "timing/TRace.h"
#include "timing/ThreadedTimerFactory.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include <algorithm>
#include <array>
#include <csignal>
#include <cstdio>
#include <random>
#include <vector>

namespace {

constexpr qint64 PeriodUs = 60000;
constexpr qint64 HoldUs = 20000; // half a real sensor pulse
constexpr int PassesPerKart = 150;

qint64 onsetOffsetUs(int kart) {
    return 12000 * kart;
}

// Kart k's sensor is active for HoldUs at origin + offset(k) + i * PeriodUs.
class ScheduledPort : public PortBackend {
public:
    explicit ScheduledPort(qint64 originUs) : m_origin(originUs) {}
    int open() override { return 0; }
    void close() override {}
    int read(quint16 address, quint8& value) override {
        value = 0;
        if (address != 889)
            return 0;
        const qint64 now = SteadyClock::instance().nowUs();
        static constexpr quint8 Masks[4] = {0x08, 0x10, 0x20, 0x40};
        for (int k = 1; k <= 4; ++k) {
            const qint64 since = now - m_origin - onsetOffsetUs(k);
            if (since >= 0 && since % PeriodUs < HoldUs && since / PeriodUs < PassesPerKart)
                value |= Masks[k - 1];
        }
        return 0;
    }
    int write(quint16, quint8) override { return 0; }
    QString name() const override { return QStringLiteral("scheduled"); }

private:
    qint64 m_origin;
};

// The real journal, timed.
class TimedJournal : public JournalSink {
public:
    TimedJournal(RaceJournalWriter& writer, TRace& race, qint64 originUs)
        : m_writer(writer), m_race(race), m_origin(originUs) {}
    void begin(const JournalHead& head) override { m_writer.begin(head); }
    void resume(qint64 bytes) override { m_writer.resume(bytes); }
    bool isOpen() const override { return m_writer.isOpen(); }
    void pass(int kart, qint64 lapMs, qint64 passUs) override {
        const qint64 before = SteadyClock::instance().nowUs();
        m_writer.pass(kart, lapMs, passUs);
        const qint64 durable = SteadyClock::instance().nowUs();
        const qint64 stamp = m_race.startUs() + passUs;
        const qint64 since = stamp - m_origin - onsetOffsetUs(kart);
        const qint64 onset = m_origin + onsetOffsetUs(kart) + (since / PeriodUs) * PeriodUs;
        fromOnset.push_back(double(durable - onset) / 1000.0);
        writeOnly.push_back(double(durable - before) / 1000.0);
    }
    void listChanged(int kart, const QStringList& entries) override { m_writer.listChanged(kart, entries); }
    void step(JournalStep step) override { m_writer.step(step); }
    void finish() override { m_writer.finish(); }

    std::vector<double> fromOnset;
    std::vector<double> writeOnly;

private:
    RaceJournalWriter& m_writer;
    TRace& m_race;
    qint64 m_origin;
};

double percentile(std::vector<double> values, double p) {
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    return values[std::min(values.size() - 1, size_t(p * double(values.size() - 1) + 0.5))];
}

void measurePassToDurable() {
    QTemporaryDir folder(QDir::currentPath() + QStringLiteral("/journal-bench-XXXXXX"));
    TSettings settings;
    settings.Semafor.Pouzij = false;
    settings.Ostatni.UlozitZavody = false;
    settings.PoSpusteni.LPT = true;
    settings.PoSpusteni.COM = false;
    settings.HW.Negace = true;
    settings.HW.Prodleva = 20;
    settings.HW.Rizeni = false;
    SilentView view(true);
    SilentSound sound;
    const qint64 origin = SteadyClock::instance().nowUs() + 200000;
    StationDeps deps{settings,
                     folder.path(),
                     std::make_unique<ScheduledPort>(origin),
                     SteadyClock::instance(),
                     ThreadedTimerFactory::instance(),
                     sound,
                     view};
    deps.lightWait = [](int) {};
    Station station(std::move(deps));
    station.port().setOpened(true);
    station.port().setPortBase(888);
    RaceJournalWriter writer(folder.path());
    TimedJournal journal(writer, station.race(), origin);
    station.race().setJournal(&journal);
    station.race().start();

    QElapsedTimer elapsed;
    elapsed.start();
    const qint64 lengthMs =
        (origin - SteadyClock::instance().nowUs()) / 1000 + PassesPerKart * PeriodUs / 1000 + 200;
    while (elapsed.elapsed() < lengthMs)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    station.race().closeProgram();

    std::printf("%-44s %10s %10s %10s\n", "pass to durable (ms)", "passes", "median", "p99");
    std::printf("%-44s %10zu %10.3f %10.3f\n", "sensor onset to record synced", journal.fromOnset.size(),
                percentile(journal.fromOnset, 0.5), percentile(journal.fromOnset, 0.99));
    std::printf("%-44s %10zu %10.3f %10.3f\n", "write + fdatasync alone (main thread)",
                journal.writeOnly.size(), percentile(journal.writeOnly, 0.5),
                percentile(journal.writeOnly, 0.99));
    std::printf("(%d passes scheduled)\n\n", 4 * PassesPerKart);
}

QByteArray scenario() {
    QByteArray text = "300 start\n";
    for (int i = 1; i <= 6; ++i)
        for (int k = 1; k <= 4; ++k)
            text += QByteArray::number(300 + 150 * k + 800 * i) + " pass " + QByteArray::number(k) + " 300\n";
    return text;
}

int journaledPasses(const QString& folder) {
    QFile file(folder + QStringLiteral("/vysledky/probihajici zavod.txt"));
    if (!file.open(QIODevice::ReadOnly))
        return 0;
    int passes = 0;
    for (const QByteArray& line : file.readAll().split('\n'))
        passes += line.startsWith("kolo ") && line.endsWith('\r');
    return passes;
}

int recoveredLaps(const QString& folder) {
    int laps = 0;
    const QDir kept(folder + QStringLiteral("/vysledky"));
    for (const QString& name : kept.entryList({QStringLiteral("*kara?.txt")}, QDir::Files))
        laps += int(loadLapFile(kept.filePath(name)).size());
    return laps;
}

bool waitFor(const std::function<bool()>& done, int ms) {
    QElapsedTimer elapsed;
    elapsed.start();
    while (!done()) {
        if (elapsed.elapsed() > ms)
            return false;
        QThread::msleep(20);
    }
    return true;
}

void measureKills(int kills) {
    const QString program = QStringLiteral(TARVOLIN_BINARY_DIR "/tarvolin");
    if (!QFile::exists(program)) {
        std::printf("kills: the program is not built\n");
        return;
    }
    std::mt19937 random(50);
    int totalJournaled = 0, totalRecovered = 0, lost = 0;
    std::printf("%-6s %12s %20s %10s\n", "kill", "at (ms)", "journaled (>= shown)", "recovered");
    for (int kill = 1; kill <= kills; ++kill) {
        QTemporaryDir data(QDir::currentPath() + QStringLiteral("/journal-kill-XXXXXX"));
        const auto write = [&](const QString& name, const QByteArray& bytes) {
            QFile file(data.filePath(name));
            file.open(QIODevice::WriteOnly);
            file.write(bytes);
        };
        write(QStringLiteral("tarvolin.ini"),
              "[Ostatni]\r\nExtStart=1\r\n[Semafor]\r\nPouzij=0\r\n"
              "[HW]\r\nProdleva=400\r\nRizeni=0\r\n"
              "[Tisk]\r\nLogo=" TARVOLIN_SOURCE_DIR "/data/Logo/logo.png\r\n");
        write(QStringLiteral("zavod.txt"), scenario());
        write(QStringLiteral("prazdny.txt"), "");
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        QProcess process;
        process.setProcessEnvironment(environment);
        process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        const auto run = [&](const QString& scenarioFile) {
            process.start(program, {QStringLiteral("--data"), data.path(),
                                    QStringLiteral("--simulate=") + data.filePath(scenarioFile)});
            process.waitForStarted(10000);
        };
        run(QStringLiteral("zavod.txt"));
        // The race starts about a second after the program; its passes come over the next five.
        const int atMs = std::uniform_int_distribution<int>(800, 6800)(random);
        QThread::msleep(atMs);
        ::kill(pid_t(process.processId()), SIGKILL);
        process.waitForFinished(30000);
        const int journaled = journaledPasses(data.path());
        int recovered = 0;
        if (journaled > 0) {
            run(QStringLiteral("prazdny.txt"));
            waitFor([&] { return recoveredLaps(data.path()) >= journaled; }, 30000);
            recovered = recoveredLaps(data.path());
            ::kill(pid_t(process.processId()), SIGTERM);
            if (!process.waitForFinished(30000)) {
                process.kill();
                process.waitForFinished();
            }
        }
        totalJournaled += journaled;
        totalRecovered += recovered;
        lost += std::max(0, journaled - recovered);
        std::printf("%-6d %12d %20d %10d\n", kill, atMs, journaled, recovered);
        std::fflush(stdout);
    }
    std::printf("\n%d kills: %d passes journaled (every shown one among them), %d recovered, %d lost\n",
                kills, totalJournaled, totalRecovered, lost);
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    measurePassToDurable();
    measureKills(argc > 1 ? std::atoi(argv[1]) : 50);
    return 0;
}
