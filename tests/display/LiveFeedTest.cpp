// What the live results page is told: the snapshot's JSON, the feed's race, the station's address
// and where the audience window opens.
#include "TempDataFolder.h"

#include "base/MonotonicClock.h"
#include "config/TSettings.h"
#include "config/TextCodec.h"
#include "display/AudiencePlacement.h"
#include "display/LanAddress.h"
#include "display/LiveRaceFeed.h"

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

TEST(LiveRaceFeed, HandsOnTheRaceLapByLapInTheRaceListsOrder) {
    TempDataFolder folder;
    folder.writeFile("TopDeset.ini",
                     TextCodec::encodeLines({"1\tAdam <b>\t00:40:000", "2\tBeda\t00:41:000"}));
    TSettings settings;
    SetClock clock;
    int minutes = 12;
    LiveRaceFeed feed(settings, folder.path(), clock, [&] { return minutes; });
    QSignalSpy published(&feed, &LiveRaceFeed::published);

    feed.reloadTopTen();
    clock.now = 5'000'000;
    feed.raceStarted(5'000'000);
    feed.lapClosed(2, 31000);
    feed.lapClosed(2, 29500);
    feed.lapClosed(1, 33000);
    ASSERT_EQ(published.count(), 5);

    const LiveSnapshot snapshot = published.last().at(0).value<LiveSnapshot>();
    const QJsonObject json = parsed(snapshot, 5'000'000 + 65'250'000);
    EXPECT_TRUE(json["running"].toBool());
    EXPECT_EQ(json["elapsedMs"].toInteger(), 65250);
    EXPECT_EQ(json["raceMinutes"].toInt(), 12);
    const QJsonArray karts = json["karts"].toArray();
    ASSERT_EQ(karts.size(), 4);
    // The race list's order: one lap before two, and of one lap each kara1's 33 s before the initial
    // "59:59:999" rows of the karts that have not lapped.
    EXPECT_EQ(karts[0].toObject()["kart"].toInt(), 1);
    EXPECT_EQ(karts[1].toObject()["kart"].toInt(), 3);
    const QJsonObject kart2 = karts[3].toObject();
    EXPECT_EQ(kart2["kart"].toInt(), 2);
    EXPECT_EQ(kart2["count"].toInt(), 2);
    EXPECT_EQ(kart2["last"].toString(), "00:29:500");
    EXPECT_EQ(kart2["best"].toString(), "00:29:500");
    EXPECT_EQ(kart2["laps"].toArray(), QJsonArray({"00:31:000", "00:29:500"}));
    EXPECT_EQ(json["men"].toArray()[0].toObject()["name"].toString(), "Adam <b>");
    EXPECT_TRUE(json["women"].toArray().isEmpty());

    // At rest the page shows the race time of the stop; the next race starts with no laps.
    clock.now = 5'000'000 + 70'000'000;
    feed.raceStopped();
    const QJsonObject stopped = parsed(feed.snapshot(), clock.now + 9'000'000);
    EXPECT_FALSE(stopped["running"].toBool());
    EXPECT_EQ(stopped["elapsedMs"].toInteger(), 70000);
    feed.raceStarted(clock.now);
    for (const QJsonValue& kart : parsed(feed.snapshot(), clock.now)["karts"].toArray())
        EXPECT_EQ(kart.toObject()["count"].toInt(), 0);
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

TEST(AudiencePlacement, OpensOnTheScreenRightOfThePrimaryOrInFrontOnTheOnlyOne) {
    const QRect primary(0, 0, 1920, 1080);
    const QRect available(0, 32, 1920, 1048);
    const QRect tv(1920, 0, 1024, 768);
    const QRect left(-1280, 0, 1280, 1024);
    EXPECT_EQ(AudiencePlacement::topLeft({primary, tv}, primary, available), QPoint(1920, 0));
    EXPECT_EQ(AudiencePlacement::topLeft({left, primary, tv}, primary, available), QPoint(1920, 0));
    EXPECT_EQ(AudiencePlacement::topLeft({left, primary}, primary, available), QPoint(0, 32));
    EXPECT_EQ(AudiencePlacement::topLeft({primary}, primary, available), QPoint(0, 32));
}
