// The program sending its races to a real broker: the retained result of a race is the race as it is
// kept, with the laps STOP's rules drop (the first, the short ones) left out, both for a race stopped
// by the operator and for one killed mid-race and recovered at the next start.
#include "MosquittoBroker.h"
#include "MqttTestSubscriber.h"
#include "StationProgram.h"
#include "timing/LapFile.h"
#include "timing/LapTime.h"

#include <QDateTime>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSet>
#include <QTest>

#include <gtest/gtest.h>

#include <csignal>

namespace {

constexpr qint64 ShortestKeptMs = 1000; // HW/MazatCas below, in ms

QList<QJsonObject> received(const MqttTestSubscriber& subscriber, const char* leaf) {
    QList<QJsonObject> objects;
    for (const auto& message : subscriber.messages()) {
        if (message.topic == QStringLiteral("tarvolin/e2e/") + QLatin1String(leaf))
            objects.append(QJsonDocument::fromJson(message.payload).object());
    }
    return objects;
}

QSet<QString> racesOf(const QList<QJsonObject>& objects) {
    QSet<QString> races;
    for (const QJsonObject& object : objects)
        races.insert(object.value(QStringLiteral("race")).toString());
    return races;
}

// Kart k's laps as the race of that id kept them in "vysledky", with STOP's rules applied: the first
// lap dropped, then every lap under the shortest kept.
QList<qint64> keptLaps(const StationProgram& program, const QString& raceId, int kart) {
    const QString stamp = QDateTime::fromString(raceId, QStringLiteral("yyyyMMdd-HHmmss"))
                              .toString(QStringLiteral("yyyy-MM-dd HH-mm-ss"));
    const QString path = program.data.filePath(QStringLiteral("vysledky/%1 kara%2.txt").arg(stamp).arg(kart));
    QList<qint64> laps;
    if (!QFile::exists(path))
        return laps;
    const QStringList entries = loadLapFile(path);
    for (qsizetype i = 1; i < entries.size(); ++i) {
        const qint64 lap = ParseLapTime(entries.at(i));
        if (lap >= ShortestKeptMs)
            laps.append(lap);
    }
    return laps;
}

void expectResultIsKeptRace(const StationProgram& program, const QJsonObject& result) {
    const QString race = result.value(QStringLiteral("race")).toString();
    SCOPED_TRACE(race.toStdString());
    EXPECT_EQ(result.value(QStringLiteral("id")).toString(), race + QStringLiteral("-r"));
    const QJsonArray karts = result.value(QStringLiteral("karts")).toArray();
    ASSERT_EQ(karts.size(), 4);
    for (int kart = 1; kart <= 4; ++kart) {
        QList<qint64> laps;
        for (const QJsonValue lap : karts.at(kart - 1).toObject().value(QStringLiteral("laps")).toArray())
            laps.append(lap.toInteger());
        EXPECT_EQ(laps, keptLaps(program, race, kart)) << "kart " << kart;
    }
}

} // namespace

TEST(MqttResult, TheRetainedResultIsTheRaceAsKeptAfterAStopAndAfterARecovery) {
    if (!QFile::exists(StationProgram::programPath()))
        GTEST_SKIP() << "the program is not built";
    if (MosquittoBroker::program().isEmpty())
        GTEST_SKIP() << "mosquitto is not installed";
    MosquittoBroker broker;
    QString why;
    ASSERT_TRUE(broker.start(&why)) << why.toStdString();
    MqttTestSubscriber subscriber(broker.port(), QStringLiteral("tarvolin/e2e/#"));
    ASSERT_TRUE(subscriber.waitSubscribed());

    StationProgram program;
    ASSERT_TRUE(program.data.isValid());
    program.write(QStringLiteral("tarvolin.ini"),
                  QStringLiteral("[Ostatni]\r\nExtStart=1\r\nPrvniKolo=1\r\n[Semafor]\r\nPouzij=0\r\n"
                                 "[HW]\r\nProdleva=500\r\nRizeni=0\r\nMazat=1\r\nMazatCas=1\r\n"
                                 "[Tisk]\r\nLogo=" TARVOLIN_SOURCE_DIR "/data/Logo/logo.png\r\n"
                                 "[MQTT]\r\nPouzit=1\r\nServer=127.0.0.1\r\nPort=%1\r\nTrat=e2e\r\n")
                      .arg(broker.port())
                      .toLatin1());
    // The first race is stopped by the button at 6500 ms; kart 1's third lap (about 800 ms) is under
    // the shortest kept. The second is killed after its passes are sent, and recovered at the next start.
    program.write(QStringLiteral("stop.txt"), "300 start\n"
                                              "1800 pass 1 300\n2600 pass 2 300\n"
                                              "3900 pass 1 300\n4400 pass 2 300\n"
                                              "4700 pass 1 300\n5600 pass 2 300\n"
                                              "6500 start\n");
    program.write(QStringLiteral("kill.txt"), "300 start\n"
                                              "1800 pass 1 300\n2600 pass 2 300\n"
                                              "3800 pass 1 300\n4600 pass 2 300\n");
    program.write(QStringLiteral("prazdny.txt"), "");
    const auto end = [&](int signal) {
        ::kill(pid_t(program.process.processId()), signal);
        program.process.waitForFinished(30000);
    };

    program.start(QStringLiteral("stop.txt"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return !received(subscriber, "result").isEmpty(); }, 60000));
    const QString stopped = received(subscriber, "result").first().value(QStringLiteral("race")).toString();
    end(SIGTERM);

    program.start(QStringLiteral("kill.txt"));
    QString killed;
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            QSet<QString> ids; // a pass may come twice, under its id
            for (const QJsonObject& pass : received(subscriber, "pass")) {
                if (pass.value(QStringLiteral("race")).toString() != stopped) {
                    killed = pass.value(QStringLiteral("race")).toString();
                    ids.insert(pass.value(QStringLiteral("id")).toString());
                }
            }
            return ids.size() == 4;
        },
        60000));
    end(SIGKILL);

    program.start(QStringLiteral("prazdny.txt"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return received(subscriber, "result").size() == 2; }, 60000));
    end(SIGTERM);

    const QList<QJsonObject> results = received(subscriber, "result");
    ASSERT_EQ(racesOf(results), QSet<QString>({stopped, killed})) << "the recovered race keeps its id";
    EXPECT_EQ(racesOf(received(subscriber, "pass")), QSet<QString>({stopped, killed}))
        << "passes sent again after the recovery carry the race's id";
    for (const QJsonObject& result : results)
        expectResultIsKeptRace(program, result);
}
