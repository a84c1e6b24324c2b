// The program as the operator starts it: on the virtual track, with a fresh data folder, it comes up,
// runs a race that the scenario starts and stops with the external button, keeps its laps, and ends
// cleanly when the system asks it to (SIGTERM at logout or shutdown).
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

// The lap files kept in the data folder's "vysledky".
// The lap files, not the journal of a race whose end is under way.
QStringList keptLapFiles(const QString& dataFolder) {
    return QDir(QDir(dataFolder).filePath(QStringLiteral("vysledky")))
        .entryList({QStringLiteral("*kara?.txt")}, QDir::Files, QDir::Name);
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
        // The scenario's times count from when the station is ready, however slow its start was.
        scenario.write("100 start\n600 pass 1 300\n900 pass 2 300\n1500 start\n");
        scenario.close();

        QProcess process;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        process.setProcessEnvironment(environment);
        process.start(program, {QStringLiteral("--data"), data.path(),
                                QStringLiteral("--simulate=") + scenario.fileName()});
        QVERIFY(process.waitForStarted(WaitMs));
        const qint64 pid = process.processId();
        // It comes up, and the race that the button starts and stops is kept when it ends: karts 1 and
        // 2 with a lap each.
        QVERIFY2(
            QTest::qWaitFor(
                [&] { return process.state() != QProcess::Running || catchesSignal(pid, SIGTERM); }, WaitMs),
            "the station did not come up");
        QCOMPARE(process.state(), QProcess::Running);
        QVERIFY2(
            QTest::qWaitFor(
                [&] { return process.state() != QProcess::Running || keptLapFiles(data.path()).size() >= 2; },
                WaitMs),
            "no race was kept");
        QCOMPARE(process.state(), QProcess::Running);
        const QStringList kept = keptLapFiles(data.path());
        QCOMPARE(kept.size(), 2);
        QVERIFY2(kept[0].endsWith(QStringLiteral(" kara1.txt")), qPrintable(kept[0]));
        QVERIFY2(kept[1].endsWith(QStringLiteral(" kara2.txt")), qPrintable(kept[1]));

        ::kill(pid_t(process.processId()), SIGTERM);
        QVERIFY(process.waitForFinished(WaitMs));
        QCOMPARE(process.exitStatus(), QProcess::NormalExit);
        QCOMPARE(process.exitCode(), 0);
    }
};

QTEST_MAIN(ProgramStartTest)
#include "ProgramStartTest.moc"
