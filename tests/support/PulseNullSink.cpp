#include "PulseNullSink.h"

#include "ProcessEnd.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QStandardPaths>
#include <QThread>

#include <csignal>
#include <sys/prctl.h>

namespace {

bool writeFile(const QString& path, const QByteArray& content) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(content) == content.size();
}

} // namespace

PulseNullSink::PulseNullSink() = default;

PulseNullSink::~PulseNullSink() {
    stop();
}

QString PulseNullSink::program() {
    return QStandardPaths::findExecutable(QStringLiteral("pulseaudio"));
}

QProcessEnvironment PulseNullSink::clientEnvironment() const {
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("PULSE_SERVER"), QStringLiteral("unix:") + path("native"));
    environment.insert(QStringLiteral("PULSE_COOKIE"), path("cookie"));
    environment.insert(QStringLiteral("PULSE_CLIENTCONFIG"), path("client.conf"));
    return environment;
}

void PulseNullSink::useInThisProcess() const {
    const QProcessEnvironment environment = clientEnvironment();
    for (const char* name : {"PULSE_SERVER", "PULSE_COOKIE", "PULSE_CLIENTCONFIG"})
        qputenv(name, environment.value(QLatin1String(name)).toLocal8Bit());
}

bool PulseNullSink::pactl(const QStringList& arguments, QByteArray* output) const {
    QProcess pactl;
    pactl.setProcessEnvironment(clientEnvironment());
    pactl.start(QStringLiteral("pactl"), arguments);
    const bool done =
        pactl.waitForFinished(5000) && pactl.exitStatus() == QProcess::NormalExit && pactl.exitCode() == 0;
    if (output)
        *output = pactl.readAllStandardOutput();
    return done;
}

bool PulseNullSink::start(QString* why) {
    if (program().isEmpty() || QStandardPaths::findExecutable(QStringLiteral("pactl")).isEmpty()) {
        *why = QStringLiteral("pulseaudio and pactl are not installed");
        return false;
    }
    QByteArray cookie(256, '\0');
    QRandomGenerator::global()->fillRange(reinterpret_cast<quint32*>(cookie.data()), cookie.size() / 4);
    if (!m_dir.isValid() || !QDir(m_dir.path()).mkpath(QStringLiteral("home")) ||
        !writeFile(path("cookie"), cookie) || !writeFile(path("client.conf"), "autospawn = no\n")) {
        *why = QStringLiteral("no folder for the sound server");
        return false;
    }
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"PULSE_SERVER", "DISPLAY", "WAYLAND_DISPLAY", "PULSE_SINK", "PULSE_SOURCE"})
        environment.remove(QLatin1String(name));
    environment.insert(QStringLiteral("HOME"), path("home"));
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), path("home"));
    environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), m_dir.path());
    environment.insert(QStringLiteral("PULSE_RUNTIME_PATH"), m_dir.path());
    environment.insert(QStringLiteral("PULSE_STATE_PATH"), path("home"));
    environment.insert(QStringLiteral("PULSE_COOKIE"), path("cookie"));
    // A bus that is not there: the server neither announces itself to the session nor waits for one.
    environment.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"),
                       QStringLiteral("unix:path=") + path("no-bus"));
    m_process.setProcessEnvironment(environment);
    m_process.setProcessChannelMode(QProcess::MergedChannels);
    // A test that is killed (a time-out) takes the server with it: it would never exit on its own.
    m_process.setChildProcessModifier([] { prctl(PR_SET_PDEATHSIG, SIGTERM); });
    // -n: no startup script, only these two modules. Root is warned against but served.
    m_process.start(
        program(),
        {QStringLiteral("-n"), QStringLiteral("--daemonize=no"), QStringLiteral("--system=no"),
         QStringLiteral("--exit-idle-time=-1"), QStringLiteral("--use-pid-file=no"),
         QStringLiteral("--high-priority=no"), QStringLiteral("--realtime=no"),
         QStringLiteral("--log-target=stderr"), QStringLiteral("--log-level=error"),
         QStringLiteral("--load=module-native-protocol-unix socket=%1 auth-anonymous=1 cookie=%2")
             .arg(path("native"), path("cookie")),
         QStringLiteral("--load=module-null-sink sink_name=%1 rate=48000").arg(QLatin1String(SinkName))});
    if (!m_process.waitForStarted(10000)) {
        *why = QStringLiteral("pulseaudio did not start: ") + m_process.errorString();
        return false;
    }
    const QDeadlineTimer deadline(20000);
    while (!deadline.hasExpired() && m_process.state() == QProcess::Running) {
        if (pactl({QStringLiteral("info")}))
            return true;
        QThread::msleep(20);
    }
    m_process.waitForFinished(0);
    *why = QStringLiteral("pulseaudio does not answer: ") + QString::fromLocal8Bit(m_process.readAll());
    stop();
    return false;
}

void PulseNullSink::stop() {
    endProcess(m_process, 20000);
}
