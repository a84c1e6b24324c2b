// The program as the operator starts it: on the virtual track, with a fresh data folder, it comes up,
// runs a race that the scenario starts with the external button, and ends cleanly when the system
// asks it to (SIGTERM at logout or shutdown).
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include <csignal>

namespace {

// Generous: a busy machine is slow, never wrong.
constexpr int WaitMs = 60000;

// A line of /proc/PID/status or /proc/PID/task/TID/status, without its key; empty where there is none.
QByteArray statusField(const QString& statusFile, const QByteArray& key) {
    QFile file(statusFile);
    if (!file.open(QIODevice::ReadOnly))
        return QByteArray();
    for (const QByteArray& line : file.readAll().split('\n')) {
        if (line.startsWith(QByteArray(key + ':')))
            return line.mid(key.size() + 1).trimmed();
    }
    return QByteArray();
}

// Whether the process has a handler for the signal. The station sets its SIGTERM handler when every
// window is made, just before it shows the main window: from then on SIGTERM ends it in order.
bool catchesSignal(qint64 pid, int signal) {
    const QByteArray caught = statusField(QStringLiteral("/proc/%1/status").arg(pid), "SigCgt");
    return !caught.isEmpty() && (caught.toULongLong(nullptr, 16) >> (signal - 1)) & 1;
}

// How many of the station's timer workers have woken at least wakeUps times. Only the four lap
// samplers wake that often, and only while a race is on: the display and the other timers' workers
// wake a few times a second at most, and are parked otherwise.
int busyTimerWorkers(qint64 pid, long long wakeUps) {
    int busy = 0;
    const QDir tasks(QStringLiteral("/proc/%1/task").arg(pid));
    for (const QString& task : tasks.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        QFile name(tasks.filePath(task + QStringLiteral("/comm")));
        if (!name.open(QIODevice::ReadOnly) || name.readAll().trimmed() != "TTimerThread")
            continue;
        const QByteArray woken =
            statusField(tasks.filePath(task + QStringLiteral("/status")), "voluntary_ctxt_switches");
        if (woken.toLongLong() >= wakeUps)
            ++busy;
    }
    return busy;
}

} // namespace

class ProgramStartTest : public QObject {
    Q_OBJECT

private slots:
    void startsOnTheVirtualTrackAndEndsOnSigterm() {
        const QString program = QStringLiteral(TARVOLIN_BINARY_DIR "/tarvolin");
        if (!QFile::exists(program))
            QSKIP("the program is not built");
        QTemporaryDir data;
        QVERIFY(data.isValid());
        QFile ini(QDir(data.path()).filePath(QStringLiteral("tarvolin.ini")));
        QVERIFY(ini.open(QIODevice::WriteOnly));
        // With a logo that exists, no notice stops the start before the external button is watched.
        ini.write("[Ostatni]\r\nExtStart=1\r\n[Semafor]\r\nPouzij=0\r\n[Tisk]\r\nLogo=" TARVOLIN_SOURCE_DIR
                  "/data/Logo/logo.png\r\n");
        ini.close();
        QFile scenario(QDir(data.path()).filePath(QStringLiteral("zavod.txt")));
        QVERIFY(scenario.open(QIODevice::WriteOnly));
        scenario.write("100 start\n600 pass 1\n900 pass 2\n");
        scenario.close();

        QProcess process;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        process.setProcessEnvironment(environment);
        process.start(program, {QStringLiteral("--data"), data.path(),
                                QStringLiteral("--simulate=") + scenario.fileName()});
        QVERIFY(process.waitForStarted(WaitMs));
        const qint64 pid = process.processId();
        // It comes up, the scenario presses the button, and the race runs with every lap sampler busy;
        // all the while it keeps running.
        QVERIFY2(
            QTest::qWaitFor(
                [&] { return process.state() != QProcess::Running || catchesSignal(pid, SIGTERM); }, WaitMs),
            "the station did not come up");
        QCOMPARE(process.state(), QProcess::Running);
        QVERIFY2(QTest::qWaitFor(
                     [&] { return process.state() != QProcess::Running || busyTimerWorkers(pid, 200) >= 4; },
                     WaitMs),
                 "no race ran");
        QCOMPARE(process.state(), QProcess::Running);

        ::kill(pid_t(process.processId()), SIGTERM);
        QVERIFY(process.waitForFinished(WaitMs));
        QCOMPARE(process.exitStatus(), QProcess::NormalExit);
        QCOMPARE(process.exitCode(), 0);
        // A race that the program's end closes is kept like one ended by STOP, for the karts that have
        // laps by then: here at most karts 1 and 2, whose passes the scenario makes.
        const QStringList kept = QDir(QDir(data.path()).filePath(QStringLiteral("vysledky")))
                                     .entryList({QStringLiteral("*.txt")}, QDir::Files);
        for (const QString& name : kept)
            QVERIFY2(name.endsWith(QStringLiteral(" kara1.txt")) ||
                         name.endsWith(QStringLiteral(" kara2.txt")),
                     qPrintable(name));
    }
};

QTEST_MAIN(ProgramStartTest)
#include "ProgramStartTest.moc"
