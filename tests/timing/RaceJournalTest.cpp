// The race's journal: what a race writes, what the reader makes of it (torn, hostile), the order
// "durable before shown", and the end of a recovered race.
#include "TempDataFolder.h"
#include "VirtualRace.h"

#include "base/UserError.h"
#include "timing/JournalSink.h"
#include "timing/RaceJournalReader.h"
#include "timing/RaceJournalWriter.h"

#include <QFile>

#include <gtest/gtest.h>

namespace {

const QString JournalName = QStringLiteral("vysledky/probihajici zavod.txt");

// A race on virtual time without lights, in its own data folder, that the test may "crash" by simply
// dropping it.
class JournalRace : public ::testing::Test {
protected:
    JournalRace() { rig = makeRig(); }
    std::unique_ptr<VirtualRace> makeRig() {
        auto made = std::make_unique<VirtualRace>(m_data.path());
        made->settings.Semafor.Pouzij = false;
        return made;
    }
    void startRace() {
        rig->race->StartButton1Click();
        m_startMs = rig->race->startTick();
    }
    void passAt(int kart, qint64 raceMs) { rig->passSensor(kart, m_startMs + raceMs); }
    void runUntil(qint64 raceMs) { rig->scheduler.advanceTo(m_startMs + raceMs); }
    QString journal() const { return m_data.filePath(JournalName); }
    RecoveredRace read() const { return RaceJournalReader::read(journal()); }
    void appendRaw(const QByteArray& bytes) const {
        QFile file(journal());
        ASSERT_TRUE(file.open(QIODevice::Append));
        file.write(bytes);
    }

    TempDataFolder m_data;
    std::unique_ptr<VirtualRace> rig;
    qint64 m_startMs = 0;
};

// Records, at each pass, whether the lap list already showed it.
class OrderSink : public JournalSink {
public:
    explicit OrderSink(VirtualRace& rig) : m_rig(rig) {}
    void begin(const JournalHead&) override { m_open = true; }
    void resume(qint64) override { m_open = true; }
    bool isOpen() const override { return m_open; }
    void pass(int kart, qint64, qint64) override {
        shownBeforeDurable.push_back(m_rig.lists[kart - 1]->count() > m_counted[kart - 1]);
        ++m_counted[kart - 1];
    }
    void listChanged(int kart, const QStringList& entries) override {
        m_counted[kart - 1] = int(entries.size());
        ++listChanges;
    }
    void step(JournalStep) override {}
    void finish() override { m_open = false; }

    std::vector<bool> shownBeforeDurable;
    int listChanges = 0;

private:
    VirtualRace& m_rig;
    std::array<int, 4> m_counted{};
    bool m_open = false;
};

} // namespace

TEST_F(JournalRace, EveryPassIsWrittenBeforeItsListShowsIt) {
    OrderSink sink(*rig);
    rig->race->setJournal(&sink);
    startRace();
    passAt(1, 10000);
    passAt(2, 10000);
    passAt(1, 25000);
    runUntil(20000);
    rig->lists[0]->setSelectedIndex(0);
    rig->lists[0]->deleteSelected();
    runUntil(30000);
    EXPECT_EQ(sink.shownBeforeDurable, std::vector<bool>({false, false, false}));
    EXPECT_EQ(sink.listChanges, 1) << "the race's own appends and the START's clearing are no edits";
}

TEST_F(JournalRace, ACrashedRaceIsReadBackAsMeasuredAndAsTheOperatorLeftIt) {
    rig->race->hooks().driverNames = [] {
        return std::array<QString, 4>{QStringLiteral("Petr Šťastný"), QString(), QStringLiteral("Jana"),
                                      QString()};
    };
    startRace();
    passAt(1, 10000);
    passAt(1, 30000);
    passAt(3, 15000);
    runUntil(31000);
    rig->lists[0]->setSelectedIndex(0);
    rig->lists[0]->deleteSelected();
    passAt(1, 45000);
    runUntil(46000);
    rig.reset(); // the crash: nothing of the race's end ran

    const RecoveredRace race = read();
    EXPECT_EQ(race.head.start, QDateTime(QDate(2026, 12, 9), QTime(14, 5, 33)));
    EXPECT_EQ(race.head.raceMinutes, 10);
    EXPECT_EQ(race.head.names[0], QStringLiteral("Petr Šťastný"));
    EXPECT_EQ(race.passes, 4);
    EXPECT_EQ(race.measured[0], QList<qint64>({10000, 20000, 15000}));
    EXPECT_EQ(race.lists[0], QStringList({QStringLiteral("00:20:000"), QStringLiteral("00:15:000")}));
    EXPECT_EQ(race.lists[2], QStringList({QStringLiteral("00:15:000")}));
    EXPECT_EQ(race.tornRecords + race.badRecords, 0);
    EXPECT_FALSE(race.engineTimeStored);
}

TEST_F(JournalRace, ARecoveredRaceEndsAsStopWouldAndOnlyOnce) {
    startRace();
    passAt(2, 10000);
    passAt(2, 30000);
    runUntil(31000);
    rig.reset();
    appendRaw("kolo 2 33"); // the power went while the next pass was written

    rig = makeRig();
    rig->settings.Ostatni.PrvniKolo = true;
    qint64 driven = 0;
    rig->race->hooks().addDriven = [&](int kart, qint64 seconds) { driven += kart == 2 ? seconds : 0; };
    // Another crash at the reminder window: the engine time and the files are done by then.
    rig->race->hooks().showRemindersIfAny = [] { throw std::runtime_error("crash"); };
    RecoveredRace race = read();
    EXPECT_EQ(race.tornRecords, 1);
    EXPECT_THROW(rig->race->finishRecoveredRace(race, true), std::runtime_error);
    EXPECT_EQ(driven, 30);
    const QByteArray kept = m_data.readFile(QStringLiteral("vysledky/2026-12-09 14-05-33 kara2.txt"));
    EXPECT_EQ(kept, QByteArray("00:10:000\r\n00:20:000\r\n"));

    race = read();
    EXPECT_EQ(race.tornRecords, 0) << "the torn record was cut off before the end's marks";
    EXPECT_TRUE(race.engineTimeStored);
    EXPECT_TRUE(race.lapFilesKept);
    rig = makeRig();
    bool offered = false;
    rig->race->hooks().addDriven = [&](int, qint64 seconds) { driven += seconds; };
    rig->race->hooks().TopTenDeset = [&] { offered = true; };
    rig->race->finishRecoveredRace(race, true);
    EXPECT_EQ(driven, 30) << "no engine time twice";
    EXPECT_TRUE(offered);
    EXPECT_EQ(rig->laps(2), QStringList({QStringLiteral("00:10:000"), QStringLiteral("00:20:000")}));
    EXPECT_FALSE(m_data.exists(QStringLiteral("vysledky/2026-12-09 14-05-33 kara2 (2).txt")));
    EXPECT_FALSE(QFile::exists(journal()));
}

TEST_F(JournalRace, HostileRecordsAreSkippedAndCountedAndAHugeJournalIsReadInBounds) {
    const QByteArray head =
        RaceJournalWriter::headText(
            {QDateTime(QDate(2026, 12, 9), QTime(14, 32)), 10, QStringLiteral("paralelní port"), {}})
            .toLatin1();
    m_data.writeFile(JournalName, head +
                                      "kolo 1 61000 61000000\r\n"
                                      "kolo 1 -3600000 70000000\r\n" // a lap of minus one hour
                                      "kolo 5 1000 1000\r\n"
                                      "kolo 1 99999999999999999999 1\r\n" +
                                      QByteArray("ko\0lo 1 1000 1000\r\n", 19) + "seznam 1 " +
                                      QByteArray(300 * 1024, 'x') + "\r\nkolo 2 40000 40000000\r\n");
    RecoveredRace race = read();
    EXPECT_EQ(race.passes, 2);
    EXPECT_EQ(race.badRecords, 5);
    EXPECT_FALSE(race.truncated);

    // Ten million lines: only the first megabytes are read.
    appendRaw(QByteArray("\r\n").repeated(10000000));
    race = read();
    EXPECT_TRUE(race.truncated);
    EXPECT_EQ(race.passes, 2);
    EXPECT_LT(race.badRecords, 1000000);

    m_data.writeFile(JournalName, QByteArray("\0\0\0\0", 4));
    EXPECT_THROW(read(), UserError);
    m_data.writeFile(JournalName, "Tarvolin: deník\r\nkolo 1 1000 1000\r\n");
    EXPECT_THROW(read(), UserError);
}
