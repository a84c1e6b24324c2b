// The program itself, started as the operator starts it on the virtual track: a scenario race whose
// kept lap files are compared with the scenario, and a scenario it must refuse.
#include "StationProgram.h"
#include "base/UserError.h"
#include "timing/LapFile.h"
#include "timing/LapTime.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>

namespace {

class ProgramRun : public ::testing::Test, protected StationProgram {
protected:
    void SetUp() override {
        if (!QFile::exists(programPath()))
            GTEST_SKIP() << "the program is not built";
        ASSERT_TRUE(data.isValid());
    }
    // Ends the program as a logout does, and returns its exit code (-1 if it did not end normally).
    int terminate() {
        ::kill(pid_t(process.processId()), SIGTERM);
        if (!process.waitForFinished(30000) || process.exitStatus() != QProcess::NormalExit)
            return -1;
        return process.exitCode();
    }
    // The lap files, not the journal of a race under way.
    QStringList keptFiles() const {
        return QDir(data.filePath(QStringLiteral("vysledky")))
            .entryList({QStringLiteral("*kara?.txt")}, QDir::Files);
    }
};

} // namespace

TEST_F(ProgramRun, AScenarioRaceIsKeptLapByLap) {
    // A readable print logo, so that the start shows no notice.
    write(QStringLiteral("tarvolin.ini"), "[Ostatni]\r\nExtStart=1\r\n[Semafor]\r\nPouzij=0\r\n"
                                          "[HW]\r\nProdleva=500\r\nRizeni=0\r\n"
                                          "[Tisk]\r\nLogo=" TARVOLIN_SOURCE_DIR "/data/Logo/logo.png\r\n");
    // The button starts the race at 300 ms and stops it at 6500 ms. Each pass holds its sensor for
    // 300 ms, so that a machine too busy to sample every few ms still sees it (the dead time is 500).
    write(QStringLiteral("zavod.txt"), "300 start\n"
                                       "1800 pass 1 300\n2600 pass 2 300\n"
                                       "3900 pass 1 300\n4400 pass 2 300\n"
                                       "5200 pass 1 300\n"
                                       "6500 start\n");
    start(QStringLiteral("zavod.txt"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return keptFiles().size() == 2; }, 60000))
        << "kept: " << keptFiles().join(QLatin1Char(' ')).toStdString();
    EXPECT_EQ(terminate(), 0);

    const QStringList files = keptFiles();
    ASSERT_TRUE(files.at(0).endsWith(QStringLiteral(" kara1.txt"))) << files.at(0).toStdString();
    ASSERT_TRUE(files.at(1).endsWith(QStringLiteral(" kara2.txt"))) << files.at(1).toStdString();
    const auto laps = [&](int index) {
        QList<qint64> values;
        for (const QString& text : loadLapFile(data.filePath(QStringLiteral("vysledky/") + files.at(index))))
            values << ParseLapTime(text);
        return values;
    };
    const QList<qint64> kart1 = laps(0);
    const QList<qint64> kart2 = laps(1);
    ASSERT_EQ(kart1.size(), 3);
    ASSERT_EQ(kart2.size(), 2);
    // A lap is the time between two passes, within what a busy machine may add to a sample. The first
    // lap counts from the button's press, sampled like a sensor.
    constexpr qint64 Slack = 400;
    const auto near = [](qint64 lap, qint64 expected) { return std::abs(lap - expected) <= Slack; };
    EXPECT_PRED2(near, kart1.at(0), 1500);
    EXPECT_PRED2(near, kart1.at(1), 2100);
    EXPECT_PRED2(near, kart1.at(2), 1300);
    EXPECT_PRED2(near, kart2.at(0), 2300);
    EXPECT_PRED2(near, kart2.at(1), 1800);
}

TEST_F(ProgramRun, ABadScenarioIsNamedAndTheProgramEndsWithAnError) {
    write(QStringLiteral("zavod.txt"), "100 start\nsoon pass 1\n200 pass 9\n");
    process.setProcessChannelMode(QProcess::SeparateChannels);
    start(QStringLiteral("zavod.txt"));
    // The message box waits for the operator; the message is on the standard error as well.
    QByteArray errors;
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            errors += process.readAllStandardError();
            return QString::fromLocal8Bit(errors).contains(QStringLiteral("řádek 3"));
        },
        30000));
    const QString message = QString::fromLocal8Bit(errors);
    EXPECT_TRUE(message.contains(QStringLiteral("řádek 2"))) << message.toStdString();
    EXPECT_TRUE(message.contains(QStringLiteral("řádek 3"))) << message.toStdString();
    EXPECT_EQ(terminate(), 1);
    EXPECT_FALSE(QFile::exists(data.filePath(QStringLiteral("tarvolin.ini"))));
}
