#include "publish/PassTracker.h"

#include <gtest/gtest.h>

namespace {

TEST(PassTracker, GivesEachNewLapOnceWithItsNumberAndRaceTime) {
    PassTracker tracker;
    std::array<QList<qint64>, 4> laps;
    laps[1] = {30000};
    EXPECT_EQ(tracker.update(laps), (QList<PassTracker::Pass>{{2, 1, 30000, 30000}}));
    laps[0] = {31000};
    laps[1] = {30000, 29000, 28000};
    EXPECT_EQ(tracker.update(laps),
              (QList<PassTracker::Pass>{{1, 1, 31000, 31000}, {2, 2, 29000, 59000}, {2, 3, 28000, 87000}}));
    EXPECT_TRUE(tracker.update(laps).isEmpty()) << "an unchanged state gives nothing again";
    // The first lap removed at STOP: no pass, and a lap after it counts from the new length.
    laps[1] = {29000, 28000};
    EXPECT_TRUE(tracker.update(laps).isEmpty());
    tracker.reset();
    laps = {};
    laps[3] = {40000};
    EXPECT_EQ(tracker.update(laps), (QList<PassTracker::Pass>{{4, 1, 40000, 40000}}));
}

} // namespace
