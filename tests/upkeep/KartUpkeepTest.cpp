// The karts' upkeep records: their arithmetic, "stav.ini" byte for byte, the reminders, and the
// race's driving kept to the second.
#include "TempDataFolder.h"
#include "VirtualRace.h"

#include "base/UserError.h"
#include "config/IniFile.h"
#include "config/TextCodec.h"
#include "upkeep/KartReminders.h"
#include "upkeep/KartStateFile.h"
#include "upkeep/KartUpkeep.h"
#include "upkeep/ServiceBook.h"

#include <QFile>
#include <QFileInfo>

#include <gtest/gtest.h>

#include <limits>

#include <sys/stat.h>

namespace {

TKartState kart(const char* driven, int consumption = 1) {
    TKartState state;
    state.driven = QString::fromLatin1(driven);
    state.consumption = consumption;
    return state;
}

} // namespace

TEST(KartState, TheCarryTheZeroingAndTheFuelCut) {
    TKartState state = kart("3:30");
    state.initialHours = 10;
    state.initialMinutes = 50;
    EXPECT_EQ(state.totalText(), QStringLiteral("14:20"));
    EXPECT_EQ(state.zero(), 210);
    EXPECT_EQ(state.initialHours, 14);
    EXPECT_EQ(state.initialMinutes, 20);
    EXPECT_EQ(state.driven, QStringLiteral("0:0"));
    EXPECT_EQ(state.totalText(), QStringLiteral("14:20"));

    state.initialMinutes = 60;
    state.carryInitialMinutes();
    EXPECT_EQ(state.initialHours, 15);
    EXPECT_EQ(state.initialMinutes, 0);

    // Tenths of a decilitre are cut, not rounded.
    EXPECT_EQ(TKartState::fuelText(kart("1:30", 5).fuelSinceZeroingTenths()), QStringLiteral("7,5"));
    EXPECT_EQ(TKartState::fuelText(kart("0:1", 1).fuelSinceZeroingTenths()), QStringLiteral("0,0"));
    EXPECT_EQ(TKartState::fuelText(kart("0:11", 1).fuelSinceZeroingTenths()), QStringLiteral("0,1"));
}

TEST(KartReminders, FuelAtItsThresholdAndTasksInTheirHalfHour) {
    // Tank 10 l, margin 5 dl: the message comes at 95,0 dl since zeroing, not at 94,9.
    TKartState fuel = kart("0:0", 60);
    fuel.refuelWarning = true;
    fuel.tank = 10;
    fuel.margin = 5;
    fuel.driven = QStringLiteral("1:34"); // 94 min at 60 dl/h: 940 tenths... 94,0 dl
    EXPECT_FALSE(fuel.needsFuel());
    fuel.consumption = 1;
    fuel.driven = QStringLiteral("94:54"); // 5694 min at 1 dl/h: 949 tenths, 94,9 dl
    EXPECT_FALSE(fuel.needsFuel());
    fuel.driven = QStringLiteral("95:0"); // 950 tenths, 95,0 dl
    EXPECT_TRUE(fuel.needsFuel());

    TKartState tasks = kart("10:30");
    tasks.tasks[0] = {true, 10, QStringLiteral("Výměna oleje")};
    tasks.tasks[1] = {true, 5, QStringLiteral("Řetěz")};
    tasks.tasks[2] = {false, 10, QStringLiteral("Vypnutý")};
    tasks.tasks[3] = {true, 0, QStringLiteral("Bez intervalu")};
    EXPECT_EQ(tasks.dueTasksText(), QStringLiteral("Výměna oleje\rŘetěz\r"));
    tasks.driven = QStringLiteral("10:31");
    EXPECT_EQ(tasks.dueTasksText(), QString());
    tasks.driven = QStringLiteral("9:59");
    EXPECT_EQ(tasks.dueTasksText(), QString());
    tasks.driven = QStringLiteral("0:0");
    EXPECT_EQ(tasks.dueTasksText(), QStringLiteral("Výměna oleje\rŘetěz\r"));

    // A kart needing fuel with two due tasks: three lines; the others have nothing to say.
    KartStates states;
    states[2] = tasks;
    states[2].refuelWarning = true;
    states[2].driven = QStringLiteral("20:0");
    states[2].consumption = 100;
    KartReminders reminders;
    reminders.CheckFuel(states);
    reminders.CheckServiceTasks(states);
    EXPECT_EQ(reminders.texts()[2], QStringLiteral("Doplňte palivo !\rVýměna oleje\rŘetěz\r"));
    EXPECT_TRUE(reminders.texts()[0].isEmpty());
    reminders.acknowledge();
    EXPECT_FALSE(reminders.any());
}

TEST(KartStateFile, ANewFileAndAFileWithForeignKeysByteForByte) {
    TempDataFolder data;
    KartStateFile file(data.filePath(QStringLiteral("stav.ini")));
    KartStates states = file.load();
    EXPECT_TRUE(file.problems().isEmpty());
    EXPECT_EQ(states[3].consumption, 1);
    EXPECT_EQ(states[3].driven, QStringLiteral("0:0"));
    states[0].driven = QStringLiteral("12:5");
    states[0].tasks[1] = {true, 25, QStringLiteral("Svíčka")};
    file.save(states);

    QStringList expected;
    for (int kart = 1; kart <= 4; ++kart) {
        const bool first = kart == 1;
        expected << QStringLiteral("[Motokara%1]").arg(kart) << QStringLiteral("PocatecniStavHod=0")
                 << QStringLiteral("PocatecniStavMin=0") << QStringLiteral("Ukol1=0")
                 << QStringLiteral("Ukol2=%1").arg(first ? 1 : 0) << QStringLiteral("Ukol3=0")
                 << QStringLiteral("Ukol4=0") << QStringLiteral("Doplneni=0")
                 << QStringLiteral("UkolHodin1=0") << QStringLiteral("UkolHodin2=%1").arg(first ? 25 : 0)
                 << QStringLiteral("UkolHodin3=0") << QStringLiteral("UkolHodin4=0")
                 << QStringLiteral("PrumernaSpotreba=1") << QStringLiteral("ObsahNadrze=1")
                 << QStringLiteral("DoplneniPredem=1")
                 << QStringLiteral("Najeto=%1").arg(first ? QStringLiteral("12:5") : QStringLiteral("0:0"))
                 << QStringLiteral("Text1=")
                 << QStringLiteral("Text2=%1").arg(first ? QStringLiteral("Svíčka") : QString())
                 << QStringLiteral("Text3=") << QStringLiteral("Text4=") << QStringLiteral("Sekundy=0");
    }
    EXPECT_EQ(data.readFile(QStringLiteral("stav.ini")), TextCodec::encodeLines(expected));

    // Foreign keys and sections stay where they are; out-of-range values come back in range.
    const QByteArray foreign =
        TextCodec::encodeLines({QStringLiteral("[Servis]"), QStringLiteral("Firma=Motor s.r.o."),
                                QStringLiteral("[Motokara2]"), QStringLiteral("Barva=modrá"),
                                QStringLiteral("PrumernaSpotreba=500"), QStringLiteral("Najeto=abc")});
    data.writeFile(QStringLiteral("stav.ini"), foreign);
    states = file.load();
    EXPECT_EQ(states[1].consumption, 100);
    ASSERT_EQ(file.problems().size(), 1);
    EXPECT_TRUE(file.problems().first().contains(QStringLiteral("Motokára 2")));
    EXPECT_EQ(states[1].driven, QStringLiteral("0:0"));
    file.saveDriven(states);
    EXPECT_EQ(data.readFile(QStringLiteral("stav.ini")),
              TextCodec::encodeLines({QStringLiteral("[Servis]"), QStringLiteral("Firma=Motor s.r.o."),
                                      QStringLiteral("[Motokara2]"), QStringLiteral("Barva=modrá"),
                                      QStringLiteral("PrumernaSpotreba=500"), QStringLiteral("Najeto=0:0"),
                                      QStringLiteral("Sekundy=0"), QStringLiteral("[Motokara1]"),
                                      QStringLiteral("Najeto=0:0"), QStringLiteral("Sekundy=0"),
                                      QStringLiteral("[Motokara3]"), QStringLiteral("Najeto=0:0"),
                                      QStringLiteral("Sekundy=0"), QStringLiteral("[Motokara4]"),
                                      QStringLiteral("Najeto=0:0"), QStringLiteral("Sekundy=0")}));
}

TEST(KartStateFile, AFileThatCannotBeReadIsNeverWrittenOverAndGetsThisRunsDrivingLater) {
    TempDataFolder data;
    const QString path = data.makeFolder(QStringLiteral("stav.ini")); // cannot be read as a file
    KartStateFile file(path);
    KartStates states = file.load();
    ASSERT_EQ(file.problems().size(), 1);
    EXPECT_TRUE(file.blocked());
    states[0].driven = QStringLiteral("0:25");
    states[0].drivenSeconds = 40;
    file.save(states);
    file.saveDriven(states);
    EXPECT_TRUE(QFileInfo(path).isDir());

    // The file is back, with the kart's own history: this run's 25 min 40 s are added to it.
    QDir(path).removeRecursively();
    data.writeFile(
        QStringLiteral("stav.ini"),
        TextCodec::encodeLines({QStringLiteral("[Motokara1]"), QStringLiteral("PocatecniStavHod=7"),
                                QStringLiteral("Najeto=100:40"), QStringLiteral("Sekundy=30")}));
    file.save(states);
    EXPECT_FALSE(file.blocked());
    EXPECT_EQ(states[0].initialHours, 7);
    EXPECT_EQ(states[0].driven, QStringLiteral("101:6"));
    EXPECT_EQ(data.readFile(QStringLiteral("stav.ini")),
              TextCodec::encodeLines({QStringLiteral("[Motokara1]"), QStringLiteral("PocatecniStavHod=7"),
                                      QStringLiteral("Najeto=101:6"), QStringLiteral("Sekundy=10"),
                                      QStringLiteral("[Motokara2]"), QStringLiteral("Najeto=0:0"),
                                      QStringLiteral("Sekundy=0"), QStringLiteral("[Motokara3]"),
                                      QStringLiteral("Najeto=0:0"), QStringLiteral("Sekundy=0"),
                                      QStringLiteral("[Motokara4]"), QStringLiteral("Najeto=0:0"),
                                      QStringLiteral("Sekundy=0")}));
}

TEST(ServiceBook, EachZeroingAddsALine) {
    TempDataFolder data;
    data.writeFile(QStringLiteral("servis.txt"), "older line without its end");
    const ServiceBook book(data.filePath(QStringLiteral("servis.txt")));
    book.append(QDateTime(QDate(2026, 12, 9), QTime(14, 5, 33)), 2, 210, 860);
    EXPECT_EQ(data.readFile(QStringLiteral("servis.txt")),
              "older line without its end\r\n" +
                  TextCodec::encodeLines({QStringLiteral(
                      "2026-12-09 14:05:33  motokára 2  vynulováno 3:30 hodin  celkem 14:20 hodin")}));
}

TEST(KartUpkeep, AProgramEndedBeforeItsStartReadTheRecordsLeavesTheFileAsItIs) {
    TempDataFolder data;
    const QByteArray kept = "[Motokara1]\r\nNajeto=120:35\r\nPocatecniStavHod=5\r\n";
    data.writeFile(QStringLiteral("stav.ini"), kept);
    KartUpkeep upkeep(data.path());
    upkeep.storeDriven();
    upkeep.store();
    EXPECT_EQ(data.readFile(QStringLiteral("stav.ini")), kept);

    upkeep.load();
    upkeep.states()[0].driven = QStringLiteral("121:0");
    upkeep.storeDriven();
    EXPECT_TRUE(data.readFile(QStringLiteral("stav.ini")).contains("Najeto=121:0"));
}

TEST(KartUpkeep, RacesAddTheirDrivingToTheSecondWithoutTheWindowAcrossRestarts) {
    TempDataFolder data;
    data.writeFile(QStringLiteral("stav.ini"), "[Motokara1]\r\nNajeto=1:0\r\n"); // no "Sekundy": 0
    VirtualRace rig(data.path());
    rig.settings.Semafor.Pouzij = false;
    rig.settings.Ostatni.UlozitZavody = false;
    // 100 races of 90 s, the station started anew before each: 150 minutes, not 100.
    for (int race = 0; race < 100; ++race) {
        KartUpkeep upkeep(data.path());
        ASSERT_TRUE(upkeep.load().isEmpty());
        rig.race->hooks().addDriven = [&](int kart, qint64 seconds) { upkeep.addDriven(kart, seconds); };
        rig.race->hooks().kartStateOk = [&] { upkeep.store(); };
        rig.race->StartButton1Click();
        rig.lists[0]->setEntries({QStringLiteral("01:00:000"), QStringLiteral("00:30:999")});
        rig.race->StartButton1Click();
        ASSERT_FALSE(rig.race->running());
    }
    IniFile ini;
    ASSERT_TRUE(ini.load(data.filePath(QStringLiteral("stav.ini"))));
    EXPECT_EQ(ini.readString(QStringLiteral("Motokara1"), QStringLiteral("Najeto"), QString()),
              QStringLiteral("3:30"));
    EXPECT_EQ(ini.readInt(QStringLiteral("Motokara1"), QStringLiteral("Sekundy"), -1), 0);

    // A race of 30 s on virtual time counts too: its seconds wait in the file for the next one.
    KartUpkeep upkeep(data.path());
    upkeep.load();
    rig.race->hooks().addDriven = [&](int kart, qint64 seconds) { upkeep.addDriven(kart, seconds); };
    rig.race->hooks().kartStateOk = [&] { upkeep.store(); };
    rig.race->StartButton1Click();
    const qint64 start = rig.race->startTick();
    rig.passSensor(2, start + 30000);
    rig.scheduler.advanceTo(start + 31000);
    rig.race->StartButton1Click();
    ASSERT_EQ(rig.laps(2), QStringList({QStringLiteral("00:30:000")}));
    ASSERT_TRUE(ini.load(data.filePath(QStringLiteral("stav.ini"))));
    EXPECT_EQ(ini.readString(QStringLiteral("Motokara2"), QStringLiteral("Najeto"), QString()),
              QStringLiteral("0:0"));
    EXPECT_EQ(ini.readInt(QStringLiteral("Motokara2"), QStringLiteral("Sekundy"), -1), 30);
    upkeep.addDriven(2, 30);
    EXPECT_EQ(upkeep.states()[1].driven, QStringLiteral("0:1"));
    EXPECT_EQ(upkeep.states()[1].drivenSeconds, 0);
}

TEST(KartUpkeep, DrivenTimesOutsideTheirBoundsAreRefusedAndAddingStopsAtTheTop) {
    TempDataFolder data;
    data.writeFile(QStringLiteral("stav.ini"),
                   "[Motokara1]\r\nNajeto=35791394:7\r\n[Motokara2]\r\nNajeto=-1:-1\r\n"
                   "[Motokara3]\r\nNajeto=999999:59\r\nSekundy=30\r\n[Motokara4]\r\nNajeto=999998:59\r\n");
    KartUpkeep upkeep(data.path());
    const QStringList problems = upkeep.load();
    ASSERT_EQ(problems.size(), 2);
    EXPECT_EQ(problems.at(0),
              QStringLiteral("Motokára 1: najeté motohodiny \u201e35791394:7\u201c jsou mimo "
                             "rozsah 0:0 až 999999:59 hodin a nelze je přijmout; počítají se jako 0:0."));
    EXPECT_TRUE(problems.at(1).startsWith(QStringLiteral("Motokára 2: najeté motohodiny \u201e-1:-1\u201c")));
    EXPECT_EQ(upkeep.states()[0].driven, QStringLiteral("0:0"));
    EXPECT_EQ(upkeep.states()[1].driven, QStringLiteral("0:0"));

    // A 61 s race at the top of the counter leaves it at the top, never wrapped below zero.
    upkeep.addDriven(3, 61);
    EXPECT_EQ(upkeep.states()[2].driven, QStringLiteral("999999:59"));
    EXPECT_EQ(upkeep.states()[2].drivenSeconds, 59);
    upkeep.addDriven(4, 61);
    EXPECT_EQ(upkeep.states()[3].driven, QStringLiteral("999999:0"));
    EXPECT_EQ(upkeep.states()[3].drivenSeconds, 1);
    upkeep.addDriven(4, std::numeric_limits<qint64>::max());
    EXPECT_EQ(upkeep.states()[3].driven, QStringLiteral("999999:59"));
    upkeep.store();
    upkeep.load();
    EXPECT_EQ(upkeep.states()[2].driven, QStringLiteral("999999:59"));
}

TEST(KartStateFile, AFifoInPlaceOfTheFileIsRefusedWithoutWaitingAndKept) {
    // Opening a FIFO that nobody writes to would wait for ever: the station would start deaf.
    TempDataFolder data;
    const QString path = data.filePath(QStringLiteral("stav.ini"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
    KartStateFile file(path);
    KartStates states = file.load();
    ASSERT_EQ(file.problems().size(), 1);
    EXPECT_TRUE(
        file.problems().at(0).contains(QStringLiteral("Soubor \"%1\" není obyčejný soubor").arg(path)))
        << file.problems().at(0).toStdString();
    states[0].driven = QStringLiteral("0:25");
    file.save(states);
    file.saveDriven(states);
    EXPECT_TRUE(QFileInfo(path).exists() && !QFileInfo(path).isFile());
}
