#include "hub/HubTracks.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <gtest/gtest.h>

namespace {

QJsonArray tracksOf(const HubTracks& hub) {
    return QJsonDocument::fromJson(hub.json()).object().value(QStringLiteral("tracks")).toArray();
}

TEST(HubTracks, KeepsEachTracksStateAndPresenceAndDropsHostileMessages) {
    HubTracks hub(QStringLiteral("tarvolin"));
    const QByteArray state = R"({"running":true,"karts":[{"kart":1,"name":"Eva","laps":["00:31:000"]}]})";
    EXPECT_TRUE(hub.take(QStringLiteral("tarvolin/brno/state"), state));
    EXPECT_TRUE(hub.take(QStringLiteral("tarvolin/brno/online"), "1"));
    EXPECT_TRUE(hub.take(QStringLiteral("tarvolin/ostrava/online"), "0"));

    // Hostile or foreign: none of these changes anything.
    EXPECT_FALSE(hub.take(QStringLiteral("tarvolin/brno/state"), "not json"));
    EXPECT_FALSE(hub.take(QStringLiteral("tarvolin/brno/state"), R"({"running":"yes","karts":[]})"));
    EXPECT_FALSE(hub.take(QStringLiteral("tarvolin/brno/state"), R"({"running":true,"karts":[1,2]})"));
    EXPECT_FALSE(hub.take(QStringLiteral("tarvolin/brno/state"), "[1]"));
    EXPECT_FALSE(hub.take(QStringLiteral("tarvolin/brno/state"),
                          "{\"running\":true,\"karts\":[],\"x\":\"" +
                              QByteArray(HubTracks::MaxPayloadBytes, 'a') + "\"}"));
    EXPECT_FALSE(hub.take(QStringLiteral("tarvolin/brno/online"), "yes"));
    EXPECT_FALSE(hub.take(QStringLiteral("jinde/brno/state"), state));
    EXPECT_FALSE(hub.take(QStringLiteral("tarvolin/<script>/state"), state));
    EXPECT_FALSE(hub.take(QStringLiteral("tarvolin/brno/pass/x"), state));

    const QJsonArray tracks = tracksOf(hub);
    ASSERT_EQ(tracks.size(), 2);
    EXPECT_EQ(tracks.at(0)[QStringLiteral("id")].toString(), QStringLiteral("brno"));
    EXPECT_TRUE(tracks.at(0)[QStringLiteral("online")].toBool());
    EXPECT_EQ(tracks.at(0)[QStringLiteral("state")].toObject(), QJsonDocument::fromJson(state).object());
    EXPECT_FALSE(tracks.at(1)[QStringLiteral("online")].toBool());

    // A million tracks: the hub keeps its bound and the tracks it has.
    for (int i = 0; i < 1000000; ++i)
        hub.take(QStringLiteral("tarvolin/t%1/online").arg(i), "1");
    EXPECT_EQ(hub.trackCount(), HubTracks::MaxTracks);
    EXPECT_TRUE(hub.take(QStringLiteral("tarvolin/brno/online"), "0")) << "a known track is still followed";
}

} // namespace
