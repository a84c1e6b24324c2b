// The program as the operator starts it: on the virtual track, with a fresh data folder, it comes up,
// runs a race that the scenario starts with the external button, and ends cleanly when the system
// asks it to (SIGTERM at logout or shutdown).
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include <csignal>

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
        ini.write("[Ostatni]\r\nExtStart=1\r\n[Semafor]\r\nPouzij=0\r\n");
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
        QVERIFY(process.waitForStarted(10000));
        // Let it come up and run the race for a while; it must still be running.
        QTest::qWait(2500);
        QCOMPARE(process.state(), QProcess::Running);

        ::kill(pid_t(process.processId()), SIGTERM);
        QVERIFY(process.waitForFinished(20000));
        QCOMPARE(process.exitStatus(), QProcess::NormalExit);
        QCOMPARE(process.exitCode(), 0);
        // Closing during a race keeps no lap files: the race was not stopped.
        QVERIFY(QDir(QDir(data.path()).filePath(QStringLiteral("vysledky"))).isEmpty() ||
                !QDir(QDir(data.path()).filePath(QStringLiteral("vysledky"))).exists());
    }
};

QTEST_MAIN(ProgramStartTest)
#include "ProgramStartTest.moc"
