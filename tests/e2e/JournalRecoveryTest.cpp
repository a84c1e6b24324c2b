// The program killed at random instants of a scenario race and started again on its data folder:
// every pass the journal held at the kill (and so every lap shown, which the journal has first) is in
// the recovered lap files, as the scenario drove it.
#include "StationProgram.h"
#include "timing/LapFile.h"
#include "timing/LapTime.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <array>
#include <csignal>
#include <random>

namespace {

constexpr int Laps = 8;
constexpr qint64 LapMs = 900;

// Kart k passes at 300 + 150 k + 900 i ms (i = 1..8); the button starts the race at 300 ms and never
// stops it.
QByteArray scenario() {
    QByteArray text = "300 start\n";
    for (int i = 1; i <= Laps; ++i)
        for (int k = 1; k <= 4; ++k)
            text +=
                QByteArray::number(300 + 150 * k + LapMs * i) + " pass " + QByteArray::number(k) + " 300\n";
    return text;
}

class KilledRace : public StationProgram {
public:
    KilledRace() {
        write(QStringLiteral("tarvolin.ini"),
              "[Ostatni]\r\nExtStart=1\r\n[Semafor]\r\nPouzij=0\r\n"
              "[HW]\r\nProdleva=500\r\nRizeni=0\r\n"
              "[Tisk]\r\nLogo=" TARVOLIN_SOURCE_DIR "/data/Logo/logo.png\r\n");
        write(QStringLiteral("zavod.txt"), scenario());
        write(QStringLiteral("prazdny.txt"), "");
    }
    // Kart 1..4's complete pass records in the journal.
    std::array<int, 4> journaled() const {
        std::array<int, 4> passes{};
        QFile file(data.filePath(QStringLiteral("vysledky/probihajici zavod.txt")));
        if (!file.open(QIODevice::ReadOnly))
            return passes;
        for (const QByteArray& line : file.readAll().split('\n')) {
            if (line.startsWith("kolo ") && line.endsWith('\r') && line.size() > 6 && line[5] >= '1' &&
                line[5] <= '4')
                ++passes[line[5] - '1'];
        }
        return passes;
    }
    static int total(const std::array<int, 4>& passes) {
        return passes[0] + passes[1] + passes[2] + passes[3];
    }
    QStringList keptFiles() const {
        return QDir(data.filePath(QStringLiteral("vysledky")))
            .entryList({QStringLiteral("*kara?.txt")}, QDir::Files);
    }
};

} // namespace

TEST(JournalRecovery, EveryPassJournaledBeforeAKillIsRecovered) {
    if (!QFile::exists(StationProgram::programPath()))
        GTEST_SKIP() << "the program is not built";
    std::mt19937 random(20261209);
    for (int round = 0; round < 4; ++round) {
        SCOPED_TRACE(round);
        KilledRace race;
        ASSERT_TRUE(race.data.isValid());
        const int target = std::uniform_int_distribution<int>(1, 4 * Laps - 2)(random);
        race.start(QStringLiteral("zavod.txt"));
        ASSERT_TRUE(QTest::qWaitFor([&] { return KilledRace::total(race.journaled()) >= target; }, 60000));
        ::kill(pid_t(race.process.processId()), SIGKILL);
        ASSERT_TRUE(race.process.waitForFinished(30000));
        const std::array<int, 4> atKill = race.journaled();
        ASSERT_GE(KilledRace::total(atKill), target);

        int karts = 0;
        for (int passes : atKill)
            karts += passes > 0;
        race.start(QStringLiteral("prazdny.txt"));
        ASSERT_TRUE(QTest::qWaitFor([&] { return race.keptFiles().size() == karts; }, 60000))
            << "kept: " << race.keptFiles().join(QLatin1Char(' ')).toStdString();
        ::kill(pid_t(race.process.processId()), SIGTERM);
        race.process.waitForFinished(30000);

        for (const QString& name : race.keptFiles()) {
            const int kart = name.at(name.size() - 5).digitValue();
            const QStringList laps = loadLapFile(race.data.filePath(QStringLiteral("vysledky/") + name));
            ASSERT_EQ(laps.size(), atKill[kart - 1]) << name.toStdString();
            // Within what a busy machine may add to a sample; the first lap counts from the button.
            for (int i = 0; i < laps.size(); ++i) {
                const qint64 expected = i == 0 ? LapMs + 150 * kart : LapMs;
                EXPECT_NEAR(double(ParseLapTime(laps.at(i))), double(expected), 400.0)
                    << name.toStdString() << " lap " << i + 1;
            }
        }
    }
}
