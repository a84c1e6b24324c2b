// Measures how exactly the station times laps and what a race costs the machine. The real main window
// (TForm1, offscreen) runs a race started and stopped with its START button. Four karts pass their
// sensors at instants the program generated, so each lap's true length is known: laps of 5 to 9 s,
// with two karts within a few ms of each other or all four within 20 ms now and then.
//
// Parallel port (default): the karts pass on the virtual track, which shares the race's clock. The
// true lap is the difference of a kart's pass instants (the first lap is counted from the race's
// start tick), in the clock's whole milliseconds.
//
// Serial (--serial): each pass is a learned burst written to a socat pseudo-terminal pair whose other
// end is ComPort1 (LPT off, COM on). The true lap is the difference of the write instants.
//
//   lap_accuracy [seconds] [--load] [--serial] [--soak-minutes N]
//
//   seconds         race length (default 180)
//   --load          two busy child processes spin on the machine's cores during the race
//   --soak-minutes  a race of N minutes that also prints the resident memory every 5 minutes
//
// Like the station, it runs Qt's plain UNIX event dispatcher; QT_NO_GLIB= (set, empty) selects GLib's.
//
// Prints the lap error (measured minus true) with its absolute value's mean, median, p99 and max, the
// missed and doubled laps, the process's CPU time per second of race and its peak resident memory.

#include "base/MonotonicClock.h"
#include "config/SerialParameters.h"
#include "config/TSettings.h"
#include "hardware/TComPort.h"
#include "hardware/VirtualTrack.h"
#include "hardware/VirtualTrackPortBackend.h"
#include "platform/EventLoopChoice.h"
#include "platform/ThreadSlice.h"
#include "timing/LapList.h"
#include "timing/LapTime.h"
#include "timing/TRace.h"
#include "timing/ui/hwunit.h"

#include <QApplication>
#include <QFile>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>

#include <fcntl.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <termios.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>
#include <thread>
#include <vector>

namespace {

constexpr int kKarts = 4;
constexpr qint64 kMinLapMs = 5000;
constexpr qint64 kMaxLapMs = 9000;
// A detection belongs to a pass when it comes no sooner than 1 ms before it and within this after it.
constexpr double kMatchWindowMs = 200;

struct Options {
    int seconds = 180;
    bool load = false;
    bool serial = false;
    int soakMinutes = 0;
};

Options parseOptions(int argc, char* argv[]) {
    Options options;
    for (int i = 1; i < argc; ++i) {
        const char* arg = argv[i];
        if (std::strcmp(arg, "--load") == 0)
            options.load = true;
        else if (std::strcmp(arg, "--serial") == 0)
            options.serial = true;
        else if (std::strcmp(arg, "--soak-minutes") == 0 && i + 1 < argc)
            options.soakMinutes = std::max(1, std::atoi(argv[++i]));
        else if (arg[0] != '-')
            options.seconds = std::max(20, std::atoi(arg));
        else {
            std::fprintf(stderr, "usage: lap_accuracy [seconds] [--load] [--serial] [--soak-minutes N]\n");
            std::exit(2);
        }
    }
    if (options.soakMinutes > 0)
        options.seconds = options.soakMinutes * 60;
    return options;
}

// --- the karts' pass plan ------------------------------------------------------------------------

// Pass instants per kart, in ms from the race start, for a race of the given length. Every 20 s a
// cluster: all four karts within 20 ms (even clusters) or two karts a few ms apart (odd ones). The
// serial plan keeps different karts' bursts some ms apart, so that its figures compare with older runs.
std::array<std::vector<qint64>, kKarts> planPasses(qint64 raceMs, quint32 seed, bool serial) {
    std::mt19937 random(seed);
    auto uniform = [&](qint64 low, qint64 high) {
        return std::uniform_int_distribution<qint64>(low, high)(random);
    };
    struct Cluster {
        qint64 atMs;
        std::array<qint64, kKarts> offsetMs; // -1: the kart is not in it
    };
    std::vector<Cluster> clusters;
    for (int j = 0;; ++j) {
        const qint64 at = 12000 + qint64(j) * 20000;
        if (at > raceMs - 2000)
            break;
        Cluster cluster{at, {-1, -1, -1, -1}};
        if (j % 2 == 0) {
            const std::array<qint64, kKarts> spread =
                serial ? std::array<qint64, kKarts>{0, 25, 50, 75} : std::array<qint64, kKarts>{0, 4, 11, 19};
            for (int k = 0; k < kKarts; ++k)
                cluster.offsetMs[(k + j / 2) % kKarts] = spread[k];
        } else {
            const int first = (j / 2) % kKarts;
            cluster.offsetMs[first] = 0;
            cluster.offsetMs[(first + 1) % kKarts] = serial ? 30 : 1 + (j / 2) % 4;
        }
        clusters.push_back(cluster);
    }

    std::array<std::vector<qint64>, kKarts> passes;
    for (int k = 0; k < kKarts; ++k) {
        qint64 t = 2500 + uniform(0, 2500) + k * (serial ? 40 : 0);
        while (t <= raceMs - 500) {
            passes[k].push_back(t);
            // The next cluster this kart can reach with laps of 5 to 9 s.
            qint64 gap = -1;
            for (const Cluster& cluster : clusters) {
                if (cluster.offsetMs[k] < 0)
                    continue;
                const qint64 g = cluster.atMs + cluster.offsetMs[k] - t;
                if (g < kMinLapMs || (g > kMaxLapMs && g < 2 * kMinLapMs))
                    continue;
                gap = g;
                break;
            }
            qint64 lap;
            if (gap < 0) {
                lap = uniform(kMinLapMs, kMaxLapMs);
            } else if (gap <= kMaxLapMs) {
                lap = gap;
            } else {
                lap = uniform(kMinLapMs, std::min(kMaxLapMs, gap - kMinLapMs));
                const qint64 rest = gap - lap;
                if (rest > kMaxLapMs && rest < 2 * kMinLapMs)
                    lap = gap - kMaxLapMs <= kMaxLapMs ? gap - kMaxLapMs : gap - 2 * kMinLapMs;
            }
            t += lap;
        }
    }
    return passes;
}

// --- figures -------------------------------------------------------------------------------------

double cpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    auto seconds = [](const timeval& tv) { return double(tv.tv_sec) + double(tv.tv_usec) / 1e6; };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
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

double percentile(const std::vector<double>& sorted, double p) {
    if (sorted.empty())
        return 0;
    const size_t index = std::min(sorted.size() - 1, size_t(std::ceil(p * double(sorted.size())) - 1));
    return sorted[index];
}

struct KartResult {
    int passes = 0;
    int detections = 0;
    int missed = 0;
    int doubled = 0;
    std::vector<double> errorsMs; // measured minus true, per lap whose both ends were detected
};

// Matches the kart's detections (race times summed from its lap list) to its true pass instants
// (race times) and collects the lap errors.
KartResult compare(const QStringList& laps, const std::vector<double>& truePassMs) {
    KartResult result;
    result.passes = int(truePassMs.size());
    std::vector<double> detections;
    double sum = 0;
    for (const QString& lap : laps) {
        sum += double(ParseLapTime(lap));
        detections.push_back(sum);
    }
    result.detections = int(detections.size());

    std::vector<int> matchOf(detections.size(), -1);
    std::vector<bool> taken(truePassMs.size(), false);
    size_t next = 0;
    for (size_t i = 0; i < detections.size(); ++i) {
        const double d = detections[i];
        while (next < truePassMs.size() && truePassMs[next] < d - kMatchWindowMs)
            ++next;
        if (next < truePassMs.size() && truePassMs[next] <= d + 1 && !taken[next]) {
            matchOf[i] = int(next);
            taken[next] = true;
            ++next;
        } else {
            ++result.doubled; // no pass of this kart explains it
        }
    }
    for (bool t : taken)
        result.missed += t ? 0 : 1;

    double previousDetection = 0;
    int previousPass = -1; // -1: the race start
    for (size_t i = 0; i < detections.size(); ++i) {
        if (matchOf[i] < 0)
            continue;
        const int pass = matchOf[i];
        if (pass == previousPass + 1) {
            const double trueLap = truePassMs[pass] - (previousPass < 0 ? 0.0 : truePassMs[previousPass]);
            result.errorsMs.push_back((detections[i] - previousDetection) - trueLap);
        }
        previousDetection = detections[i];
        previousPass = pass;
    }
    return result;
}

// --- busy load -----------------------------------------------------------------------------------

std::vector<pid_t> startLoad(int seconds) {
    std::vector<pid_t> children;
    for (int i = 0; i < 2; ++i) {
        const pid_t pid = fork();
        if (pid == 0) {
            // Bounded: ends with the benchmark, and on its own after the run's time.
            prctl(PR_SET_PDEATHSIG, SIGKILL);
            alarm(unsigned(seconds + 120));
            volatile unsigned long spin = 0;
            for (;;)
                spin = spin + 1;
        }
        if (pid > 0)
            children.push_back(pid);
    }
    return children;
}

void stopLoad(const std::vector<pid_t>& children) {
    for (pid_t pid : children)
        kill(pid, SIGKILL);
    for (pid_t pid : children)
        waitpid(pid, nullptr, 0);
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

void printMemory(const char* when) {
    std::printf("  VmRSS %-10s %8ld kB\n", when, statusKb("VmRSS"));
    std::fflush(stdout);
}

} // namespace

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
    const std::vector<pid_t> load = options.load ? startLoad(options.seconds) : std::vector<pid_t>{};

    QApplication app(argc, argv);
    QTemporaryDir dataDir;
    MonotonicClock& clock = SteadyClock::instance();

    TSettings settings;
    settings.Semafor.Pouzij = false; // no start-light delay: the race starts at the click
    settings.Zvuk.Hrat = false;
    settings.Ostatni.UlozitZavody = false;
    settings.PoSpusteni.LPT = !options.serial;
    settings.PoSpusteni.COM = options.serial;
    for (int k = 1; k <= kKarts; ++k)
        settings.Com.Sekvence[TSettings::sequenceSlot(k, 0)] = learnedText(burstOf(k));

    // The track and the race read the same clock, so a pass's track time maps onto race time exactly.
    VirtualTrack track(settings, clock);
    TForm1Deps deps{settings, dataDir.path(), std::make_unique<VirtualTrackPortBackend>(track)};
    deps.clock = &clock;
    TForm1 form(std::move(deps));
    form.hooks().showError = [](const QString& message) {
        std::fprintf(stderr, "error: %s\n", qPrintable(message));
    };
    form.show();
    form.FormActivate();

    QProcess socat;
    int deviceFd = -1;
    if (options.serial) {
        const QString portA = dataDir.filePath(QStringLiteral("ttyA"));
        const QString portB = dataDir.filePath(QStringLiteral("ttyB"));
        if (!startSocat(socat, portA, portB) || (deviceFd = openDevice(portB)) < 0) {
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
    const std::array<std::vector<qint64>, kKarts> plan = planPasses(raceMs, 20261209, options.serial);

    double cpuAtStart = 0;
    double cpuAtStop = 0;
    qint64 startTick = 0;
    qint64 stopTick = 0;
    std::unique_ptr<BurstWriter> writer;
    QTimer memoryTimer;

    // START a second after the window is up; the karts' passes are scheduled from the start tick.
    QTimer::singleShot(1000, &form, [&] {
        cpuAtStart = cpuSeconds();
        startButton->click();
        startTick = race.startTick();
        if (options.soakMinutes > 0) {
            printMemory("start");
            memoryTimer.start(5 * 60 * 1000);
        }
        if (options.serial) {
            std::vector<BurstWriter::Burst> bursts;
            for (int k = 0; k < kKarts; ++k)
                for (qint64 at : plan[k])
                    bursts.push_back({(startTick + at) * 1000000, k + 1});
            writer = std::make_unique<BurstWriter>(deviceFd, std::move(bursts));
            writer->start();
        } else {
            // Track time of the start tick: both read the same clock, so take one millisecond reading
            // that both agree on.
            qint64 trackAtStart = 0;
            for (;;) {
                const qint64 before = clock.nowMs();
                const qint64 trackNow = track.trackTimeMs();
                if (clock.nowMs() == before) {
                    trackAtStart = trackNow - (before - startTick);
                    break;
                }
            }
            QList<ScenarioEvent> events;
            for (int k = 0; k < kKarts; ++k)
                for (qint64 at : plan[k])
                    events.append({trackAtStart + at, ScenarioEvent::Pass, k + 1});
            track.replay(events);
        }
        QTimer::singleShot(int(raceMs), &form, [&] {
            stopTick = clock.nowMs();
            startButton->click();
            cpuAtStop = cpuSeconds();
            memoryTimer.stop();
            if (options.soakMinutes > 0)
                printMemory("end");
            app.quit();
        });
    });
    QObject::connect(&memoryTimer, &QTimer::timeout, &form, [&] {
        const qint64 minutes = (clock.nowMs() - startTick + 30000) / 60000;
        printMemory(qPrintable(QStringLiteral("%1 min").arg(minutes)));
    });

    std::printf("Race of %d s on the %s, %s\n", options.seconds,
                options.serial ? "serial line (socat pty)" : "virtual track",
                options.load ? "under load (2 busy processes)" : "no added load");
    std::fflush(stdout);
    app.exec();
    stopLoad(load);
    if (writer)
        writer->join();

    // True pass instants in race time (ms after the start tick).
    std::array<std::vector<double>, kKarts> truePass;
    for (int k = 0; k < kKarts; ++k) {
        if (options.serial) {
            const auto& bursts = writer->bursts();
            const auto& written = writer->writtenNs();
            for (size_t i = 0; i < bursts.size(); ++i)
                if (bursts[i].kart == k + 1 && written[i] != 0)
                    truePass[k].push_back(double(written[i]) / 1e6 - double(startTick));
        } else {
            for (qint64 at : plan[k])
                truePass[k].push_back(double(at));
        }
    }

    std::vector<double> errors;
    int passes = 0, detections = 0, missed = 0, doubled = 0;
    std::printf("\n%-6s %7s %10s %7s %8s\n", "Kart", "passes", "detections", "missed", "doubled");
    for (int k = 1; k <= kKarts; ++k) {
        const KartResult r = compare(form.lapList(k).entries(), truePass[k - 1]);
        std::printf("%-6d %7d %10d %7d %8d\n", k, r.passes, r.detections, r.missed, r.doubled);
        passes += r.passes;
        detections += r.detections;
        missed += r.missed;
        doubled += r.doubled;
        errors.insert(errors.end(), r.errorsMs.begin(), r.errorsMs.end());
    }
    std::vector<double> absolute;
    double signedSum = 0;
    for (double e : errors) {
        absolute.push_back(std::fabs(e));
        signedSum += e;
    }
    std::sort(absolute.begin(), absolute.end());
    double absSum = 0;
    for (double a : absolute)
        absSum += a;
    const double raceSeconds = double(stopTick - startTick) / 1000.0;
    const double n = std::max<double>(1, double(absolute.size()));

    std::printf("\nLap error (measured - true), %zu laps:\n", absolute.size());
    std::printf("  mean %.1f ms;  |error|: mean %.1f  median %.1f  p99 %.1f  max %.1f ms\n", signedSum / n,
                absSum / n, percentile(absolute, 0.5), percentile(absolute, 0.99),
                absolute.empty() ? 0.0 : absolute.back());
    std::printf("Laps missed %d, doubled %d (of %d passes, %d detected)\n", missed, doubled, passes,
                detections);
    std::printf("CPU: %.2f %% of one core while racing (%.1f s CPU in %.1f s)\n",
                100 * (cpuAtStop - cpuAtStart) / raceSeconds, cpuAtStop - cpuAtStart, raceSeconds);
    std::printf("Peak resident memory (VmHWM): %ld kB\n", statusKb("VmHWM"));
    if (deviceFd >= 0)
        ::close(deviceFd);
    if (socat.state() != QProcess::NotRunning) {
        socat.terminate();
        socat.waitForFinished(3000);
    }
    return 0;
}
