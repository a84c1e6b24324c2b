// Measures how exactly the station times laps and what a race costs the machine. The real main window
// (TForm1, offscreen) runs a race started with its START button, or with the track's external start
// button, and stopped with START. Four karts pass their sensors at instants the program generated,
// so each lap's true length is known: laps of 5 to 9 s, with two karts 0 to 3 ms apart or all four
// within 20 ms now and then.
//
// Parallel port (default): the karts pass on the virtual track, which shares the race's clock. The
// true lap is the difference of a kart's pass instants, in the clock's whole milliseconds; the first
// lap is counted from the true start: the START click's start tick, or the instant the external
// button went down, however late the station noticed it.
//
// Serial (--serial): each pass is a learned burst written to a socat pseudo-terminal pair whose other
// end is ComPort1 (LPT off, COM on). The true lap is the difference of the write instants.
// --serial-pty writes to one pseudo-terminal instead: socat is a process of its own between the
// writer and the station, whose wake-ups a real serial adapter does not have.
//
// Before the race the window stands activated with nothing running for a while, to see what the
// station costs at rest (its external start watch polls the port then, when it is on).
//
//   lap_accuracy [seconds] [--load [N]] [--serial | --serial-pty] [--external-start]
//                [--idle-seconds S] [--floor-seconds S] [--soak-minutes N] [--web-clients N] [--tv]
//
//   seconds           race length (default 180)
//   --load N          N busy child processes spin on the machine's cores during the whole run; without
//                     N (the next argument is no number), 2
//   --external-start  Ostatni/ExtStart on, and the race started by pressing the track's button for
//                     300 ms; not with --serial
//   --idle-seconds S  the time at rest before the race whose CPU is measured (default 20; 0: none)
//   --floor-seconds S after the race, a bare thread sleeps to the 2 ms beat for S seconds (default 10;
//                     0: none): the machine's own price of the sampler's wake-ups at that moment
//   --soak-minutes    a race of N minutes that also prints the resident memory every 5 minutes
//   --tv              the audience window shown (offscreen) with its clock and race list, as
//                     "Použít TV výstup" shows it
//   --web-clients N   the live results page served as the program serves it (its server on a thread of
//                     its own), with N WebSocket clients connected from a child process (web_clients)
//
// Like the station, it runs Qt's plain UNIX event dispatcher; QT_NO_GLIB= (set, empty) selects GLib's.
//
// Prints the lap error (measured minus true) with its absolute value's mean, median, p99 and max, the
// same for the laps ending at a close pair's pass, the first lap's error with an external start, the
// missed and doubled laps, the process's CPU time per second at rest and of race, the bare beat's
// beside it, and the peak resident memory.

#include "MosquittoBroker.h"
#include "MqttTestSubscriber.h"
#include "app/ui/MqttLink.h"
#include "base/MessageTimerFactory.h"
#include "base/MonotonicClock.h"
#include "config/SerialParameters.h"
#include "config/TSettings.h"
#include "display/LiveRaceFeed.h"
#include "display/LiveResults.h"
#include "display/TRaceProgress.h"
#include "display/ui/TV_OUT.h"
#include "hardware/ExternalStartWatch.h"
#include "hardware/TComPort.h"
#include "hardware/VirtualTrack.h"
#include "hardware/VirtualTrackPortBackend.h"
#include "lap/busy_load.h"
#include "lap/cpu_time.h"
#include "lap/lap_compare.h"
#include "lap/pass_plan.h"
#include "platform/EventLoopChoice.h"
#include "platform/PcmPlayer.h"
#include "platform/ThreadSlice.h"
#include "timing/LapList.h"
#include "timing/Station.h"
#include "timing/TRace.h"
#include "timing/ui/hwunit.h"
#include "voice/CalloutQueue.h"
#include "voice/Callouts.h"
#include "voice/EspeakVoice.h"

#include <QApplication>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QProcess>
#include <QPushButton>
#include <QSet>
#include <QTcpServer>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>

#include <fcntl.h>
#include <pty.h>
#include <termios.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <thread>
#include <vector>

using namespace LapBench;

namespace {

// The external button goes down this long after the rest period, and stays down long enough for a
// watch that looks every 200 ms to see it.
constexpr qint64 kPressLeadMs = 500;
constexpr qint64 kPressHoldMs = 300;
constexpr int kMaxLoadProcesses = 64;

struct Options {
    int seconds = 180;
    int loadProcesses = 0;
    bool serial = false;
    bool directPty = false; // one pseudo-terminal, no socat relay between the writer and the station
    bool externalStart = false;
    int idleSeconds = 20;
    int floorSeconds = 10;
    int soakMinutes = 0;
    int webClients = 0;
    bool tv = false;
    bool voice = false;
    bool mqtt = false;
};

bool isNumber(const char* text) {
    if (*text == '\0')
        return false;
    for (; *text != '\0'; ++text) {
        if (*text < '0' || *text > '9')
            return false;
    }
    return true;
}

[[noreturn]] void usage(const char* problem) {
    if (problem)
        std::fprintf(stderr, "%s\n", problem);
    std::fprintf(stderr, "usage: lap_accuracy [seconds] [--load [N]] [--serial | --serial-pty] "
                         "[--external-start] [--idle-seconds S] [--floor-seconds S] [--soak-minutes N] "
                         "[--web-clients N] [--tv] "
                         "[--voice] [--mqtt]\n");
    std::exit(2);
}

Options parseOptions(int argc, char* argv[]) {
    Options options;
    for (int i = 1; i < argc; ++i) {
        const char* arg = argv[i];
        if (std::strcmp(arg, "--load") == 0) {
            // A bare --load was two processes before N could be given.
            options.loadProcesses = 2;
            if (i + 1 < argc && isNumber(argv[i + 1]))
                options.loadProcesses = std::min(kMaxLoadProcesses, std::atoi(argv[++i]));
        } else if (std::strcmp(arg, "--serial") == 0) {
            options.serial = true;
        } else if (std::strcmp(arg, "--serial-pty") == 0) {
            options.serial = true;
            options.directPty = true;
        } else if (std::strcmp(arg, "--external-start") == 0) {
            options.externalStart = true;
        } else if (std::strcmp(arg, "--idle-seconds") == 0 && i + 1 < argc && isNumber(argv[i + 1])) {
            options.idleSeconds = std::atoi(argv[++i]);
        } else if (std::strcmp(arg, "--floor-seconds") == 0 && i + 1 < argc && isNumber(argv[i + 1])) {
            options.floorSeconds = std::atoi(argv[++i]);
        } else if (std::strcmp(arg, "--tv") == 0) {
            options.tv = true;
        } else if (std::strcmp(arg, "--voice") == 0) {
            options.voice = true;
        } else if (std::strcmp(arg, "--mqtt") == 0) {
            options.mqtt = true;
        } else if (std::strcmp(arg, "--web-clients") == 0 && i + 1 < argc && isNumber(argv[i + 1])) {
            options.webClients = std::atoi(argv[++i]);
        } else if (std::strcmp(arg, "--soak-minutes") == 0 && i + 1 < argc) {
            options.soakMinutes = std::max(1, std::atoi(argv[++i]));
        } else if (isNumber(arg)) {
            options.seconds = std::max(20, std::atoi(arg));
        } else {
            usage(nullptr);
        }
    }
    // The serial line has no external button, and its port is not the one the watch reads.
    if (options.serial && options.externalStart)
        usage("--external-start works on the virtual track only, not with --serial");
    if (options.soakMinutes > 0)
        options.seconds = options.soakMinutes * 60;
    return options;
}

// --- figures -------------------------------------------------------------------------------------

// CPU seconds of each thread of this process, by thread id, with its name.
struct ThreadCpu {
    QByteArray name;
    double seconds = 0;
};
std::map<int, ThreadCpu> threadCpu() {
    std::map<int, ThreadCpu> threads;
    const double tick = double(sysconf(_SC_CLK_TCK));
    const QDir tasks(QStringLiteral("/proc/self/task"));
    for (const QString& task : tasks.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        QFile stat(tasks.filePath(task + QStringLiteral("/stat")));
        if (!stat.open(QIODevice::ReadOnly))
            continue;
        const QByteArray line = stat.readAll();
        const qsizetype open = line.indexOf('(');
        const qsizetype close = line.lastIndexOf(')');
        if (open < 0 || close < open)
            continue;
        // After the name: state is field 3, utime and stime are fields 14 and 15.
        const QList<QByteArray> fields = line.mid(close + 2).split(' ');
        if (fields.size() < 13)
            continue;
        threads[task.toInt()] = {line.mid(open + 1, close - open - 1),
                                 (fields[11].toDouble() + fields[12].toDouble()) / tick};
    }
    return threads;
}

// Where the racing CPU went: each thread's share over the span, largest first.
void printThreadCpu(const std::map<int, ThreadCpu>& from, const std::map<int, ThreadCpu>& to,
                    double seconds) {
    std::vector<std::pair<double, QByteArray>> shares;
    for (const auto& [id, thread] : to) {
        const auto before = from.find(id);
        const double used = thread.seconds - (before == from.end() ? 0.0 : before->second.seconds);
        if (used > 0)
            shares.push_back({100 * used / seconds, thread.name + (id == getpid() ? " (main)" : "")});
    }
    std::sort(shares.rbegin(), shares.rend());
    for (const auto& [percent, name] : shares)
        std::printf("  %-24s %5.2f %%\n", name.constData(), percent);
}

long statusKb(const char* key) {
    QFile file(QStringLiteral("/proc/self/status"));
    if (!file.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray prefix = QByteArray(key) + ':';
    for (const QByteArray& line : file.readAll().split('\n')) {
        if (line.startsWith(prefix))
            return line.mid(prefix.size()).trimmed().split(' ').value(0).toLong();
    }
    return -1;
}

// --- serial device -------------------------------------------------------------------------------

// The burst each kart's sensor sends (its learned sequence A), as written and as learned.
QByteArray burstOf(int kart) {
    return QByteArray("K") + char('0' + kart) + "\r";
}

QByteArray learnedText(const QByteArray& bytes) {
    QByteArray text;
    for (const char byte : bytes) {
        const auto b = quint8(byte);
        text.append(b < 0x20 ? char(b + 0x20) : b < 0x80 ? char(b) : char(b - 0x5F));
    }
    return text;
}

qint64 steadyNs() {
    return std::chrono::duration_cast<std::chrono::nanoseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

// Writes each planned burst at its instant on the device end of the pair, recording when it wrote.
class BurstWriter {
public:
    struct Burst {
        qint64 dueNs;
        int kart;
    };

    BurstWriter(int fd, std::vector<Burst> bursts) : m_fd(fd), m_bursts(std::move(bursts)) {
        std::sort(m_bursts.begin(), m_bursts.end(),
                  [](const Burst& a, const Burst& b) { return a.dueNs < b.dueNs; });
        m_writtenNs.assign(m_bursts.size(), 0);
    }
    ~BurstWriter() { join(); }

    void start() {
        m_thread = std::thread([this] { run(); });
    }
    void join() {
        m_stop = true;
        if (m_thread.joinable())
            m_thread.join();
    }
    const std::vector<Burst>& bursts() const { return m_bursts; }
    const std::vector<qint64>& writtenNs() const { return m_writtenNs; }

private:
    void run() {
        for (size_t i = 0; i < m_bursts.size() && !m_stop; ++i) {
            timespec due{};
            due.tv_sec = time_t(m_bursts[i].dueNs / 1000000000);
            due.tv_nsec = long(m_bursts[i].dueNs % 1000000000);
            while (clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &due, nullptr) == EINTR) {
            }
            const QByteArray burst = burstOf(m_bursts[i].kart);
            m_writtenNs[i] = steadyNs();
            if (::write(m_fd, burst.constData(), size_t(burst.size())) != burst.size())
                std::fprintf(stderr, "short write on the device end\n");
        }
    }

    int m_fd;
    std::vector<Burst> m_bursts;
    std::vector<qint64> m_writtenNs;
    std::thread m_thread;
    std::atomic<bool> m_stop{false};
};

bool startSocat(QProcess& socat, const QString& portA, const QString& portB) {
    socat.setProgram(QStringLiteral("socat"));
    socat.setArguments(
        {QStringLiteral("pty,raw,echo=0,link=") + portA, QStringLiteral("pty,raw,echo=0,link=") + portB});
    socat.start();
    if (!socat.waitForStarted(3000))
        return false;
    for (int i = 0; i < 100; ++i) {
        if (QFile::exists(portA) && QFile::exists(portB))
            return true;
        QThread::msleep(20);
    }
    return false;
}

// A pseudo-terminal whose station end is *path; returns the writer's end (the master).
int openDirectPty(QString* path) {
    int master = -1;
    int slave = -1;
    if (::openpty(&master, &slave, nullptr, nullptr, nullptr) != 0)
        return -1;
    char name[128] = {};
    ::ptsname_r(master, name, sizeof name);
    termios tio{};
    tcgetattr(slave, &tio);
    cfmakeraw(&tio);
    tcsetattr(slave, TCSANOW, &tio);
    // The station opens the slave by its name; this handle only keeps the terminal's settings.
    *path = QString::fromLocal8Bit(name);
    return master;
}

int openDevice(const QString& path) {
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDWR | O_NOCTTY);
    if (fd < 0)
        return -1;
    termios tio{};
    tcgetattr(fd, &tio);
    cfmakeraw(&tio);
    tcsetattr(fd, TCSANOW, &tio);
    return fd;
}

// The first whole track millisecond at or after the clock instant: both read the same clock, from
// the track's origin.
qint64 trackMsAtOrAfter(const VirtualTrack& track, qint64 clockUs) {
    const qint64 us = clockUs - track.originUs();
    return us <= 0 ? 0 : (us + 999) / 1000;
}

void printMemory(const char* when) {
    std::printf("  VmRSS %-10s %8ld kB\n", when, statusKb("VmRSS"));
    std::fflush(stdout);
}

} // namespace

// The race list that the audience window, the page and the broker show, on the window's lap lists.
std::unique_ptr<TRaceProgress> raceProgressOf(const TSettings& settings, TForm1& form) {
    auto progress = std::make_unique<TRaceProgress>(settings);
    progress->follow({&form.lapList(1), &form.lapList(2), &form.lapList(3), &form.lapList(4)});
    return progress;
}

// The audience window as the program shows it with "Použít TV výstup" on: its own race list on the
// lap lists, the race clock at every display tick.
class AudienceWindow {
public:
    AudienceWindow(bool shown, TSettings& settings, const QString& dataFolder, TForm1& form) {
        if (!shown)
            return;
        settings.TVOUT.Pouzit = true;
        m_progress = raceProgressOf(settings, form);
        m_window = std::make_unique<TTV_Out_Frm>(settings, *m_progress, dataFolder);
        RaceHooks& hooks = form.race().hooks();
        hooks.audienceClock = [this](int millis, int seconds, int minutes) {
            m_window->showClock(millis, seconds, minutes);
        };
        hooks.audienceRaceLength = [this](int minutes) { m_window->showRaceLength(minutes); };
        m_window->show();
    }

private:
    std::unique_ptr<TRaceProgress> m_progress;
    std::unique_ptr<TTV_Out_Frm> m_window;
};

// The live results page of the race, with clients connected from a child process (web_clients).
class WebClients {
public:
    WebClients(int clients, const TSettings& settings, TForm1& form) {
        if (clients <= 0)
            return;
        // The clients all come from 127.0.0.1, standing for as many phones.
        LiveServerLimits limits;
        limits.connections.maxPerAddress = limits.connections.maxConnections;
        m_live = std::make_unique<LiveResults>(SteadyClock::instance(), limits);
        m_progress = raceProgressOf(settings, form);
        m_feed = std::make_unique<LiveRaceFeed>(*m_progress, SteadyClock::instance(),
                                                [&form] { return form.raceMinutes(); });
        QObject::connect(m_feed.get(), &LiveRaceFeed::published, m_live.get(), &LiveResults::publish);
        RaceHooks& hooks = form.race().hooks();
        hooks.raceStarted = [this](qint64 startUs) { m_feed->raceStarted(startUs); };
        hooks.raceAtRest = [this] { m_feed->raceStopped(); };
        int port = 0;
        {
            QTcpServer probe;
            probe.listen(QHostAddress::Any, 0);
            port = probe.serverPort();
        }
        QEventLoop wait;
        QObject::connect(m_live.get(), &LiveResults::listening, &wait, &QEventLoop::quit);
        m_live->apply(true, port);
        wait.exec();
        m_clients.start(
            QCoreApplication::applicationDirPath() + QStringLiteral("/web_clients"),
            {QStringLiteral("--client-process"), QString::number(clients), QString::number(port)});
        m_clients.waitForStarted();
        while (!m_clients.canReadLine() && m_clients.state() == QProcess::Running)
            m_clients.waitForReadyRead(100);
        std::printf("Live results page on port %d with %d clients connected\n", port, clients);
    }
    ~WebClients() {
        if (m_clients.state() == QProcess::Running) {
            m_clients.closeWriteChannel();
            m_clients.waitForFinished(30000);
        }
    }

private:
    std::unique_ptr<LiveResults> m_live;
    std::unique_ptr<TRaceProgress> m_progress;
    std::unique_ptr<LiveRaceFeed> m_feed;
    QProcess m_clients;
};

// Every lap called out in Czech, as the program does with "Hlas" on: synthesis on the voice's own
// thread, the samples to the sound output (none here unless PULSE_SERVER names one).
class VoiceCallouts {
public:
    VoiceCallouts(bool on, TSettings& settings, TForm1& form) {
        if (!on)
            return;
        settings.Hlas = {true, 0, 0b1111, true, 80, 170};
        m_voice = std::make_unique<EspeakVoice>();
        m_player = std::make_unique<PcmPlayer>();
        m_queue = std::make_unique<CalloutQueue>(*m_voice, *m_player, SteadyClock::instance(),
                                                 MessageTimerFactory::instance());
        m_callouts = std::make_unique<Callouts>(settings, form.station().driverNames(), *m_queue,
                                                SteadyClock::instance());
        RaceHooks& hooks = form.race().hooks();
        hooks.lapClosed = [this](int kart, qint64 lapMs, qint64 hitUs) {
            m_callouts->lapClosed(kart, lapMs, hitUs);
        };
        hooks.raceStarted = [this, before = hooks.raceStarted](qint64 startUs) {
            if (before)
                before(startUs);
            m_callouts->raceStarted();
        };
        QString why;
        if (!m_voice->load(why))
            std::fprintf(stderr, "voice: %s\n", qPrintable(why));
        std::printf("Call-outs on: every lap of every kart\n");
    }

private:
    std::unique_ptr<EspeakVoice> m_voice;
    std::unique_ptr<PcmPlayer> m_player;
    std::unique_ptr<CalloutQueue> m_queue;
    std::unique_ptr<Callouts> m_callouts;
};

// Publishing to a private mosquitto on loopback, as the program does with "MQTT" on: every pass, the
// state at every change, the result; a subscriber counts the passes that arrive.
class Publishing {
public:
    Publishing(bool on, TSettings& settings, const QString& dataFolder, TForm1& form) {
        if (!on)
            return;
        m_broker = std::make_unique<MosquittoBroker>();
        QString why;
        if (!m_broker->start(&why)) {
            std::fprintf(stderr, "mqtt: %s\n", qPrintable(why));
            m_broker.reset();
            return;
        }
        m_subscriber =
            std::make_unique<MqttTestSubscriber>(m_broker->port(), QStringLiteral("tarvolin/bench/pass"));
        m_subscriber->waitSubscribed();
        settings.MQTT = {true,
                         QStringLiteral("127.0.0.1"),
                         m_broker->port(),
                         QStringLiteral("bench"),
                         QStringLiteral("tarvolin"),
                         QString(),
                         QString(),
                         false};
        m_progress = raceProgressOf(settings, form);
        m_feed = std::make_unique<LiveRaceFeed>(*m_progress, SteadyClock::instance(),
                                                [&form] { return form.raceMinutes(); });
        m_link = std::make_unique<MqttLink>(
            settings, dataFolder, form.station().driverNames(), SteadyClock::instance(),
            [this] { return m_start; },
            [](const QString& notice) {
                if (!notice.isEmpty())
                    std::fprintf(stderr, "%s\n", qPrintable(notice));
            });
        m_link->apply();
        QObject::connect(m_feed.get(), &LiveRaceFeed::published, m_link.get(), &MqttLink::publishSnapshot);
        RaceHooks& hooks = form.race().hooks();
        hooks.raceStarted = [this, before = hooks.raceStarted](qint64 startUs) {
            if (before)
                before(startUs);
            m_start = QDateTime::currentDateTime();
            m_feed->raceStarted(startUs);
            m_link->raceStarted();
        };
        std::printf("Publishing to mosquitto on port %d\n", int(m_broker->port()));
    }
    ~Publishing() {
        if (!m_subscriber)
            return;
        QSet<QByteArray> passes;
        for (const MqttTestSubscriber::Message& message : m_subscriber->messages())
            passes.insert(message.payload);
        std::printf("MQTT: %lld distinct passes arrived at the subscriber\n", qlonglong(passes.size()));
    }

private:
    std::unique_ptr<MosquittoBroker> m_broker;
    std::unique_ptr<MqttTestSubscriber> m_subscriber;
    std::unique_ptr<TRaceProgress> m_progress;
    std::unique_ptr<LiveRaceFeed> m_feed;
    std::unique_ptr<MqttLink> m_link;
    QDateTime m_start;
};

int main(int argc, char* argv[]) {
    const Options options = parseOptions(argc, argv);
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // The program's own choice of event dispatcher (QT_NO_GLIB= in the environment keeps GLib's).
    EventLoopChoice::preferPlainUnixDispatcher();
    // As the station's main does (TARVOLIN_DEFAULT_SLICE=1 leaves the kernel's slice, to compare).
    if (qEnvironmentVariableIsEmpty("TARVOLIN_DEFAULT_SLICE"))
        ThreadSlice::requestForCurrentThread(ThreadSlice::ShortMicroseconds);
    // Spinning children are made before any thread exists.
    const std::vector<pid_t> load = startLoad(options.loadProcesses, options.idleSeconds + options.seconds);

    QApplication app(argc, argv);
    QTemporaryDir dataDir;
    MonotonicClock& clock = SteadyClock::instance();

    TSettings settings;
    settings.Semafor.Pouzij = false; // no start-light delay: the race starts at the click
    settings.Zvuk.Hrat = false;
    settings.Ostatni.UlozitZavody = false;
    settings.Ostatni.ExtStart = options.externalStart;
    settings.PoSpusteni.LPT = !options.serial;
    settings.PoSpusteni.COM = options.serial;
    for (int k = 1; k <= kKarts; ++k)
        settings.Com.Sekvence[TSettings::sequenceSlot(k, 0)] = learnedText(burstOf(k));

    // The track and the race read the same clock, so a pass's track time maps onto race time exactly.
    // Started now, so that the mapping holds whatever looks at the track first.
    VirtualTrack track(settings, clock);
    track.start();
    TForm1Deps deps{settings, dataDir.path(), std::make_unique<VirtualTrackPortBackend>(track)};
    deps.clock = &clock;
    TForm1 form(std::move(deps));
    form.hooks().showError = [](const QString& message) {
        std::fprintf(stderr, "error: %s\n", qPrintable(message));
    };
    form.show();
    form.FormActivate();
    WebClients web(options.webClients, settings, form);
    AudienceWindow audience(options.tv, settings, dataDir.path(), form);
    VoiceCallouts voice(options.voice, settings, form);
    Publishing publishing(options.mqtt, settings, dataDir.path(), form);
    if (options.externalStart && !form.externalStart().enabled()) {
        std::fprintf(stderr, "the external start watch is off after activation although ExtStart is on\n");
        stopLoad(load);
        return 1;
    }

    QProcess socat;
    int deviceFd = -1;
    if (options.serial) {
        QString portA = dataDir.filePath(QStringLiteral("ttyA"));
        const QString portB = dataDir.filePath(QStringLiteral("ttyB"));
        const bool made = options.directPty
                              ? (deviceFd = openDirectPty(&portA)) >= 0
                              : startSocat(socat, portA, portB) && (deviceFd = openDevice(portB)) >= 0;
        if (!made) {
            std::fprintf(stderr, "socat pseudo-terminal pair could not be made\n");
            stopLoad(load);
            return 1;
        }
        SerialParameters parameters;
        parameters.Port = portA;
        parameters.BaudRate = QStringLiteral("115200");
        form.ComPort1().setParameters(parameters);
    }

    auto* startButton = form.findChild<QPushButton*>(QStringLiteral("StartButton1"));
    TRace& race = form.race();
    const qint64 raceMs = qint64(options.seconds) * 1000;
    const PassPlan plan = planPasses(raceMs, 20261209, options.serial);

    double idleCpu = 0;
    qint64 idleMs = 0;
    bool idleWatchOn = false;
    double cpuAtStart = 0;
    double cpuAtStop = 0;
    std::map<int, ThreadCpu> threadsAtStart;
    std::map<int, ThreadCpu> threadsAtStop;
    qint64 cpuFromMs = 0;   // clock time the racing CPU is counted from
    qint64 raceFromMs = 0;  // clock time of the true start: the START click's tick or the press
    qint64 trueStartUs = 0; // the same to the microsecond
    qint64 startTick = 0;
    qint64 startUs = 0;     // the race's own start instant
    qint64 planTrackMs = 0; // track time of the plan's zero
    qint64 stopTick = 0;
    bool raceRan = false;
    std::unique_ptr<BurstWriter> writer;
    QTimer memoryTimer;

    // The passes as track steps, with the true start at the given track time.
    auto passEvents = [&](qint64 trackAtStart) {
        planTrackMs = trackAtStart;
        QList<ScenarioEvent> events;
        for (int k = 0; k < kKarts; ++k)
            for (const PlannedPass& pass : plan[k])
                events.append({trackAtStart + pass.atMs, ScenarioEvent::Pass, k + 1});
        return events;
    };

    // STOP with the START button: the external watch keeps its own arming, and the first lap is long
    // over by then.
    auto stopRace = [&] {
        stopTick = clock.nowMs();
        startTick = race.startTick();
        startUs = race.startUs();
        raceRan = race.running();
        if (raceRan)
            startButton->click();
        cpuAtStop = processCpuSeconds();
        threadsAtStop = threadCpu();
        memoryTimer.stop();
        if (options.soakMinutes > 0)
            printMemory("end");
        app.quit();
    };

    auto startRace = [&] {
        cpuAtStart = processCpuSeconds();
        threadsAtStart = threadCpu();
        cpuFromMs = clock.nowMs();
        if (options.externalStart) {
            // The race truly starts when the button goes down, whenever the station notices it; the
            // karts' passes are planned from that instant.
            const qint64 pressTrackMs = trackMsAtOrAfter(track, clock.nowUs()) + kPressLeadMs;
            trueStartUs = track.originUs() + pressTrackMs * 1000;
            raceFromMs = trueStartUs / 1000;
            QList<ScenarioEvent> events = passEvents(pressTrackMs);
            events.append({pressTrackMs, ScenarioEvent::Press});
            events.append({pressTrackMs + kPressHoldMs, ScenarioEvent::Release});
            track.replay(events);
        } else {
            startButton->click();
            startTick = race.startTick();
            startUs = race.startUs();
            cpuFromMs = startTick;
            raceFromMs = startTick;
            trueStartUs = startUs;
            if (options.serial) {
                std::vector<BurstWriter::Burst> bursts;
                for (int k = 0; k < kKarts; ++k)
                    for (const PlannedPass& pass : plan[k])
                        bursts.push_back({(startUs + pass.atMs * 1000) * 1000, k + 1});
                writer = std::make_unique<BurstWriter>(deviceFd, std::move(bursts));
                writer->start();
            } else {
                // The plan's zero on a whole track millisecond: the truth is that instant, not the click.
                track.replay(passEvents(trackMsAtOrAfter(track, startUs)));
                trueStartUs = track.originUs() + planTrackMs * 1000;
            }
        }
        if (options.soakMinutes > 0) {
            printMemory("start");
            memoryTimer.start(5 * 60 * 1000);
        }
        QTimer::singleShot(int(std::max<qint64>(0, raceFromMs + raceMs - clock.nowMs())), Qt::PreciseTimer,
                           &form, stopRace);
    };

    // A second after the window is up, the time at rest, then the race.
    QTimer::singleShot(1000, &form, [&] {
        if (options.idleSeconds <= 0) {
            startRace();
            return;
        }
        const double cpuFrom = processCpuSeconds();
        const qint64 from = clock.nowMs();
        QTimer::singleShot(options.idleSeconds * 1000, Qt::PreciseTimer, &form, [&, cpuFrom, from] {
            idleCpu = processCpuSeconds() - cpuFrom;
            idleMs = clock.nowMs() - from;
            idleWatchOn = form.externalStart().enabled();
            startRace();
        });
    });
    QObject::connect(&memoryTimer, &QTimer::timeout, &form, [&] {
        const qint64 minutes = (clock.nowMs() - raceFromMs + 30000) / 60000;
        printMemory(qPrintable(QStringLiteral("%1 min").arg(minutes)));
    });

    const QByteArray loadText = options.loadProcesses == 0
                                    ? QByteArray("no added load")
                                    : QStringLiteral("under load (%1 busy process%2)")
                                          .arg(options.loadProcesses)
                                          .arg(QLatin1String(options.loadProcesses == 1 ? "" : "es"))
                                          .toUtf8();
    std::printf("Race of %d s on the %s, %s\n", options.seconds,
                options.serial
                    ? (options.directPty ? "serial line (pseudo-terminal)" : "serial line (socat pty)")
                    : "virtual track",
                loadText.constData());
    if (options.externalStart)
        std::printf("Started by the external start button (ExtStart on), stopped with START\n");
    std::fflush(stdout);
    app.exec();
    stopLoad(load);
    if (writer)
        writer->join();
    if (!raceRan) {
        std::fprintf(stderr, "no race was running at the end: %s\n",
                     options.externalStart ? "the station did not act on the button"
                                           : "START did not start it");
        return 1;
    }

    // True pass instants in race time (ms after the race's start instant), and where it truly began.
    const double trueStartMs = double(trueStartUs - startUs) / 1000.0;
    std::array<std::vector<double>, kKarts> truePass;
    for (int k = 0; k < kKarts; ++k) {
        if (options.serial) {
            const auto& bursts = writer->bursts();
            const auto& written = writer->writtenNs();
            for (size_t i = 0; i < bursts.size(); ++i)
                if (bursts[i].kart == k + 1 && written[i] != 0)
                    truePass[k].push_back(double(written[i] / 1000 - startUs) / 1000.0);
        } else {
            for (const PlannedPass& pass : plan[k])
                truePass[k].push_back(trueStartMs + double(pass.atMs));
        }
    }

    std::vector<double> errors;
    std::vector<double> closeAbsolute; // laps ending at a close pair's pass
    std::vector<double> firstLapErrors;
    int passes = 0, detections = 0, missed = 0, doubled = 0;
    std::printf("\n%-6s %7s %10s %7s %8s\n", "Kart", "passes", "detections", "missed", "doubled");
    for (int k = 1; k <= kKarts; ++k) {
        const KartResult r = compare(form.lapList(k).entries(), truePass[k - 1], trueStartMs);
        std::printf("%-6d %7d %10d %7d %8d\n", k, r.passes, r.detections, r.missed, r.doubled);
        passes += r.passes;
        detections += r.detections;
        missed += r.missed;
        doubled += r.doubled;
        errors.insert(errors.end(), r.errorsMs.begin(), r.errorsMs.end());
        if (!options.serial) {
            for (size_t i = 0; i < r.errorsMs.size(); ++i)
                if (plan[k - 1][size_t(r.lapEndPass[i])].closePair)
                    closeAbsolute.push_back(std::fabs(r.errorsMs[i]));
        }
        if (r.firstLapErrorMs)
            firstLapErrors.push_back(*r.firstLapErrorMs);
    }
    std::vector<double> absolute;
    double signedSum = 0;
    for (double e : errors) {
        absolute.push_back(std::fabs(e));
        signedSum += e;
    }
    std::sort(absolute.begin(), absolute.end());
    std::sort(closeAbsolute.begin(), closeAbsolute.end());
    double absSum = 0;
    for (double a : absolute)
        absSum += a;
    const double raceSeconds = double(stopTick - cpuFromMs) / 1000.0;
    const double n = std::max<double>(1, double(absolute.size()));

    std::printf("\nLap error (measured - true), %zu laps:\n", absolute.size());
    std::printf("  mean %.1f ms;  |error|: mean %.1f  median %.1f  p99 %.1f  max %.1f ms\n", signedSum / n,
                absSum / n, percentile(absolute, 0.5), percentile(absolute, 0.99),
                absolute.empty() ? 0.0 : absolute.back());
    if (!options.serial) {
        std::printf(
            "  laps ending at a pass of two karts 0-3 ms apart, %zu laps: |error| p99 %.1f  max %.1f ms\n",
            closeAbsolute.size(), percentile(closeAbsolute, 0.99),
            closeAbsolute.empty() ? 0.0 : closeAbsolute.back());
    }
    if (options.externalStart) {
        double firstSum = 0;
        double firstMax = 0;
        for (double e : firstLapErrors) {
            firstSum += e;
            firstMax = std::max(firstMax, std::fabs(e));
        }
        std::printf("First-lap error (from the press): mean %.1f ms, |error| max %.1f ms over %zu karts "
                    "(the race started %.0f ms after the press)\n",
                    firstSum / std::max<double>(1, double(firstLapErrors.size())), firstMax,
                    firstLapErrors.size(), -trueStartMs);
    }
    std::printf("Laps missed %d, doubled %d (of %d passes, %d detected)\n", missed, doubled, passes,
                detections);
    if (options.idleSeconds > 0) {
        std::printf("CPU with no race: %.2f %% of one core (external start watch %s), %.2f s CPU in %.1f s\n",
                    100 * idleCpu / (double(idleMs) / 1000.0), idleWatchOn ? "on" : "off", idleCpu,
                    double(idleMs) / 1000.0);
    }
    std::printf("CPU: %.2f %% of one core while racing (%.1f s CPU in %.1f s)\n",
                100 * (cpuAtStop - cpuAtStart) / raceSeconds, cpuAtStop - cpuAtStart, raceSeconds);
    printThreadCpu(threadsAtStart, threadsAtStop, double(stopTick - cpuFromMs) / 1000.0);
    if (options.floorSeconds > 0) {
        // Taken with the race stopped, so that nothing of the station's wakes beside it.
        const BareBeat floor = measureBareBeat(options.floorSeconds);
        std::printf("  beside it, a bare thread only sleeping to the 2 ms beat: %.2f %% (%.1f us a wake)\n",
                    100 * floor.cpuSeconds / options.floorSeconds,
                    1e6 * floor.cpuSeconds / double(std::max(1LL, floor.beats)));
    }
    std::printf("Peak resident memory (VmHWM): %ld kB\n", statusKb("VmHWM"));
    if (deviceFd >= 0)
        ::close(deviceFd);
    if (socat.state() != QProcess::NotRunning) {
        socat.terminate();
        socat.waitForFinished(3000);
    }
    return 0;
}
