// What the live results page is told: the snapshot's JSON and the standings as the race's lap lists
// have them; the station's address and where the audience window opens.
#include "VirtualRace.h"

#include "base/MonotonicClock.h"
#include "config/TSettings.h"
#include "display/AudiencePlacement.h"
#include "display/LanAddress.h"
#include "display/LiveRaceFeed.h"
#include "display/TRaceProgress.h"
#include "timing/DriverNames.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSignalSpy>

#include <gtest/gtest.h>

namespace {

class SetClock : public MonotonicClock {
public:
    qint64 nowUs() const override { return now; }
    qint64 now = 0;
};

QJsonObject parsed(const LiveSnapshot& snapshot, qint64 nowUs) {
    return QJsonDocument::fromJson(snapshot.toJson(nowUs)).object();
}

} // namespace

TEST(LiveRaceFeed, HandsOnTheStandingsAtEveryChangeOfTheLaps) {
    TSettings settings;
    SetClock clock;
    int minutes = 12;
    TRaceProgress progress(settings);
    LiveRaceFeed feed(progress, clock, [&] { return minutes; });
    QSignalSpy published(&feed, &LiveRaceFeed::published);
    // The station's rule, as the tables stand: only kart 2's laps under 30 s would enter.
    feed.isRecord = [](int kart, qint64 lapMs) { return kart == 2 && lapMs < 30000; };

    feed.setTopTen({{"1", "Adam <b>", "00:40:000"}, {"2", "Beda", "00:41:000"}}, {});
    clock.now = 5'000'000;
    feed.raceStarted(5'000'000);
    progress.setEntries(2, {"00:31:000", "00:29:500"});
    progress.setEntries(1, {"00:33:000"});
    ASSERT_EQ(published.count(), 4);

    const LiveSnapshot snapshot = published.last().at(0).value<LiveSnapshot>();
    const QJsonObject json = parsed(snapshot, 5'000'000 + 65'250'000);
    EXPECT_TRUE(json["running"].toBool());
    EXPECT_EQ(json["elapsedMs"].toInteger(), 65250);
    EXPECT_EQ(json["raceMinutes"].toInt(), 12);
    const QJsonArray karts = json["karts"].toArray();
    ASSERT_EQ(karts.size(), 4);
    // The standings' order: two laps before one, the karts without a lap last, with no time and no
    // lap number.
    const QJsonObject kart2 = karts[0].toObject();
    EXPECT_EQ(kart2["kart"].toInt(), 2);
    EXPECT_EQ(kart2["position"].toString(), "1");
    EXPECT_EQ(kart2["lapNumber"].toString(), "2");
    EXPECT_EQ(kart2["count"].toInt(), 2);
    EXPECT_EQ(kart2["last"].toString(), "00:29:500");
    EXPECT_EQ(kart2["best"].toString(), "00:29:500");
    EXPECT_EQ(kart2["laps"].toArray(), QJsonArray({"00:31:000", "00:29:500"}));
    EXPECT_TRUE(kart2["lastRecord"].toBool() && kart2["bestRecord"].toBool());
    EXPECT_EQ(karts[1].toObject()["kart"].toInt(), 1);
    EXPECT_FALSE(karts[1].toObject()["lastRecord"].toBool() || karts[1].toObject()["bestRecord"].toBool());
    {
        // A slower lap that the table would still take is no record: only the best lap is offered.
        progress.setEntries(2, {"00:31:000", "00:29:500", "00:29:800"});
        const QJsonObject kart =
            parsed(published.last().at(0).value<LiveSnapshot>(), 5'000'000)["karts"].toArray()[0].toObject();
        EXPECT_TRUE(!kart["lastRecord"].toBool() && kart["bestRecord"].toBool());
        progress.setEntries(2, {"00:31:000", "00:29:500"});
    }
    const QJsonObject kart3 = karts[2].toObject();
    EXPECT_EQ(kart3["kart"].toInt(), 3);
    EXPECT_EQ(kart3["time"].toString(), QStringLiteral("—"));
    EXPECT_EQ(kart3["lapNumber"].toString(), "");
    EXPECT_EQ(kart3["count"].toInt(), 0);
    EXPECT_FALSE(kart3.contains("last") || kart3.contains("best"));
    EXPECT_EQ(json["men"].toArray()[0].toObject()["name"].toString(), "Adam <b>");
    EXPECT_TRUE(json["women"].toArray().isEmpty());

    // At rest the page shows the race time of the stop.
    clock.now = 5'000'000 + 70'000'000;
    feed.raceStopped();
    const QJsonObject stopped = parsed(feed.snapshot(), clock.now + 9'000'000);
    EXPECT_FALSE(stopped["running"].toBool());
    EXPECT_EQ(stopped["elapsedMs"].toInteger(), 70000);
}

// A whole race on virtual time: the page loses the lap the STOP filters out, and the next START
// leaves no kart a row of the last race.
TEST(LiveRaceFeed, FollowsTheRacesListsThroughTheStopsFiltersAndTheNextStart) {
    VirtualRace rig;
    rig.settings.Semafor.Pouzij = false;
    rig.settings.HW.Mazat = true;
    rig.settings.HW.MazatCas = 3;
    rig.race->setDeadTimeInterval(500);
    TRaceProgress progress(rig.settings);
    progress.follow(rig.lists);
    LiveRaceFeed feed(progress, rig.clock, {});
    const auto kart = [&](int number) {
        for (const QJsonValue& entry : parsed(feed.snapshot(), rig.clock.nowUs())["karts"].toArray()) {
            if (entry.toObject()["kart"].toInt() == number)
                return entry.toObject();
        }
        return QJsonObject();
    };

    rig.race->StartButton1Click();
    const qint64 start = rig.race->startTick();
    for (qint64 at : {30000, 32500, 62500})
        rig.passSensor(1, start + at);
    rig.passSensor(2, start + 40000);
    rig.scheduler.advanceTo(start + 65000);
    EXPECT_EQ(kart(1)["laps"].toArray(), QJsonArray({"00:30:000", "00:02:500", "00:30:000"}));
    EXPECT_EQ(kart(1)["best"].toString(), "00:02:500");

    // The STOP joins the short lap to the lap after it: the kart drove two laps of 30 and 32.5 s.
    rig.race->StartButton1Click();
    ASSERT_FALSE(rig.race->running());
    EXPECT_EQ(kart(1)["laps"].toArray(), QJsonArray({"00:30:000", "00:32:500"}));
    EXPECT_EQ(kart(1)["best"].toString(), "00:30:000");
    EXPECT_EQ(kart(1)["lapNumber"].toString(), "2");

    // Only kart 2 races next.
    rig.race->StartButton1Click();
    rig.passSensor(2, rig.race->startTick() + 35000);
    rig.scheduler.advanceTo(rig.race->startTick() + 36000);
    EXPECT_EQ(progress.rows()[0].name, "kara2");
    EXPECT_EQ(kart(2)["count"].toInt(), 1);
    EXPECT_EQ(kart(1)["time"].toString(), QStringLiteral("—"));
    EXPECT_EQ(kart(1)["count"].toInt(), 0);
    EXPECT_FALSE(kart(1).contains("best"));
}

TEST(LiveRaceFeed, TheDriversNamesAndTheFlagReachTheRaceListAndThePage) {
    TSettings settings;
    SetClock clock;
    DriverNames names;
    TRaceProgress progress(settings);
    progress.followNames(names);
    LiveRaceFeed feed(progress, clock, [] { return 10; });
    progress.setEntries(2, {QStringLiteral("00:41:000")});
    names.setName(2, QStringLiteral("Žofie Řeháková"));
    EXPECT_EQ(progress.rows()[0].name, QStringLiteral("Žofie Řeháková"));
    EXPECT_EQ(progress.rows()[1].name, QStringLiteral("kara1"))
        << "a kart without a name keeps its identifier";
    ASSERT_NE(progress.row(QStringLiteral("kara2")), nullptr);

    QJsonObject page = parsed(feed.snapshot(), 0);
    EXPECT_FALSE(page["flag"].toBool());
    const QJsonObject first = page["karts"].toArray()[0].toObject();
    EXPECT_EQ(first["kart"].toInt(), 2);
    EXPECT_EQ(first["name"].toString(), QStringLiteral("Žofie Řeháková"));
    feed.setFlag(true);
    EXPECT_TRUE(parsed(feed.snapshot(), 0)["flag"].toBool());
}

TEST(LanAddress, PrefersAPrivateAddressOfTheTracksNetwork) {
    using A = QHostAddress;
    EXPECT_EQ(
        LanAddress::pick({A("127.0.0.1"), A("::1"), A("169.254.3.4"), A("81.2.3.4"), A("192.168.1.20")}),
        A("192.168.1.20"));
    EXPECT_EQ(LanAddress::pick({A("fe80::1"), A("81.2.3.4")}), A("81.2.3.4"));
    EXPECT_EQ(LanAddress::pick({}), A(QHostAddress::LocalHost));
    EXPECT_EQ(LanAddress::pageUrl(A("10.0.0.7"), 8080), "http://10.0.0.7:8080/");
}

TEST(AudiencePlacement, OpensOnTheScreenRightOfThePrimary) {
    const QRect primary(0, 0, 1920, 1080);
    const QRect tv(1920, 0, 1024, 768);
    const QRect left(-1280, 0, 1280, 1024);
    EXPECT_EQ(AudiencePlacement::screenRightOf({primary, tv}, primary), QPoint(1920, 0));
    EXPECT_EQ(AudiencePlacement::screenRightOf({left, primary, tv}, primary), QPoint(1920, 0));
    EXPECT_FALSE(AudiencePlacement::screenRightOf({left, primary}, primary));
    EXPECT_FALSE(AudiencePlacement::screenRightOf({primary}, primary));
}

TEST(AudiencePlacement, OnTheOperatorsOnlyScreenStartAndTheLapsStayInView) {
    const QSize tv(1024, 768);
    const QRect wide(0, 0, 2560, 1440);
    // Room beside the main window: the whole main window stays in view.
    EXPECT_EQ(AudiencePlacement::besideMainWindow(wide, QRect(400, 100, 800, 700), {}, tv),
              QPoint(1208, 100));
    // No room beside it: over its clock, clear of START and the laps.
    const QRect screen(0, 0, 1920, 1080);
    const QList<QRect> keep = {QRect(10, 10, 150, 60), QRect(10, 600, 700, 290)};
    EXPECT_EQ(AudiencePlacement::besideMainWindow(screen, QRect(0, 0, 1200, 900), keep, tv), QPoint(896, 0));
    // A centred main window on a full HD screen leaves no such place: beside it, past the edge.
    const QRect available(0, 32, 1920, 1048);
    const QList<QRect> centred = {QRect(570, 230, 150, 60), QRect(570, 600, 780, 280)};
    const QPoint place =
        AudiencePlacement::besideMainWindow(available, QRect(560, 190, 800, 700), centred, tv);
    EXPECT_EQ(place, QPoint(1368, 190));

    // Where the operator put it, while its top can still be taken hold of.
    EXPECT_EQ(AudiencePlacement::remembered(AudiencePlacement::rememberText({40, -3}), {screen}, tv),
              QPoint(40, -3));
    EXPECT_FALSE(AudiencePlacement::remembered(QStringLiteral("1900,30"), {screen}, tv));
    EXPECT_FALSE(AudiencePlacement::remembered(QStringLiteral("40,1075"), {screen}, tv));
    EXPECT_FALSE(AudiencePlacement::remembered(QString(), {screen}, tv));
    EXPECT_FALSE(AudiencePlacement::remembered(QStringLiteral("40;30"), {screen}, tv));
}
