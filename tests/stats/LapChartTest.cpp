// The lap chart's series, built from lap lists as the window reads them, and its labels.
#include "base/UserError.h"
#include "stats/AxisScale.h"
#include "stats/ChartLabels.h"
#include "stats/LapChartSeries.h"
#include "timing/LapTime.h"

#include <gtest/gtest.h>

namespace {

QStringList laps(int count, qint64 firstMs) {
    QStringList list;
    for (int i = 0; i < count; ++i)
        list << FormatLapTime(firstMs + i * 1000);
    return list;
}

} // namespace

TEST(LapChartSeries, ShownKartsGetAPointPerLapAfterAGapPointAtZero) {
    LapChartSeries series;
    LapChartSeries::Laps lists = {laps(12, 45127), laps(15, 50000), QStringList(), laps(3, 38004)};
    series.rebuild(lists, {true, true, true, true});
    EXPECT_EQ(series.lastLap(), 15);
    EXPECT_TRUE(series.points(3).empty());
    ASSERT_EQ(series.points(1).size(), 13u);
    EXPECT_EQ(series.points(1).front(), (LapChartPoint{0, 4512, true}));
    EXPECT_EQ(series.points(1).at(1), (LapChartPoint{1, 4512, false}));
    EXPECT_EQ(series.points(1).back(), (LapChartPoint{12, 5612, false}));
    EXPECT_EQ(series.points(4).back(), (LapChartPoint{3, 4000, false}));
    EXPECT_EQ(series.lowestValue(), 3800);
    EXPECT_EQ(series.highestValue(), 6400);

    // Unticking kart 2 takes its line and its laps out of the axis.
    series.rebuild(lists, {true, false, false, true});
    EXPECT_TRUE(series.points(2).empty());
    EXPECT_EQ(series.lastLap(), 12);
    EXPECT_EQ(series.highestValue(), 5612);

    series.clear();
    EXPECT_TRUE(series.empty());
    EXPECT_EQ(series.lowestValue(), 0);
}

TEST(LapChartSeries, AnEntryThatIsNoLapTimeEndsTheBuildInLapThenKartOrder) {
    LapChartSeries series;
    LapChartSeries::Laps lists = {laps(5, 40000), laps(5, 41000), QStringList(), laps(5, 42000)};
    lists[1][2] = QStringLiteral("01:02");
    try {
        series.rebuild(lists, {true, true, false, true});
        FAIL() << "a stray entry must stop the build";
    } catch (const UserError& error) {
        EXPECT_FALSE(dynamic_cast<const ConversionError*>(&error));
        EXPECT_EQ(error.message(),
                  QStringLiteral("Záznam „01:02“ (3. kolo) motokáry 2 není čas kola; graf končí před ním."));
    }
    // Lap 3 of kart 1 came before kart 2's, lap 3 of kart 4 after it.
    EXPECT_EQ(series.points(1).back().lap, 3);
    EXPECT_EQ(series.points(2).back().lap, 2);
    EXPECT_EQ(series.points(4).back().lap, 2);
}

TEST(ChartLabels, TimesLapsAndTheReadoutFollowTheirPatterns) {
    EXPECT_EQ(ChartLabels::chartValue(QStringLiteral("00:45:127")), 4512);
    EXPECT_EQ(ChartLabels::chartValue(QStringLiteral("01:00:009")), 6000);
    EXPECT_THROW(ChartLabels::chartValue(QStringLiteral("soon")), ConversionError);

    EXPECT_EQ(ChartLabels::largeTimeLabel(4512), QStringLiteral("45:12"));
    EXPECT_EQ(ChartLabels::largeTimeLabel(4511.5), QStringLiteral("45:12"));
    EXPECT_EQ(ChartLabels::largeTimeLabel(5), QStringLiteral("0:05"));
    EXPECT_EQ(ChartLabels::largeTimeLabel(0), QStringLiteral("0:00"));
    EXPECT_EQ(ChartLabels::largeTimeLabel(123456), QStringLiteral("1234:56"));
    EXPECT_EQ(ChartLabels::largeTimeLabel(-4512), QStringLiteral("-45:12"));

    EXPECT_EQ(ChartLabels::smallTimeLabel(4512), QStringLiteral("00:45:12"));
    EXPECT_EQ(ChartLabels::smallTimeLabel(12), QStringLiteral("00:00:12"));
    EXPECT_EQ(ChartLabels::smallTimeLabel(654321), QStringLiteral("65:43:21"));
    EXPECT_EQ(ChartLabels::smallTimeLabel(1234567), QStringLiteral("123:45:67"));

    EXPECT_EQ(ChartLabels::lapLabel(3.25), QStringLiteral("3,25"));
    EXPECT_EQ(ChartLabels::lapLabel(3.25049), QStringLiteral("3,25"));
    EXPECT_EQ(ChartLabels::lapLabel(15), QStringLiteral("15"));
    EXPECT_EQ(ChartLabels::lapLabel(-0.0001), QStringLiteral("0"));
    EXPECT_EQ(ChartLabels::crossHairReadout(4512.2, 3.25), QStringLiteral("45:12  /  3,25"));
}

TEST(AxisScale, StepsAreRoundAndTheEndsEncloseTheValues) {
    const AxisScale times = AxisScale::around(3800, 6400, 10);
    EXPECT_EQ(times.step, 500);
    EXPECT_EQ(times.minimum, 3500);
    EXPECT_EQ(times.maximum, 6500);
    // Laps keep a step of one while they fit.
    const AxisScale laps = AxisScale::around(0, 15, 20);
    EXPECT_EQ(laps.step, 1);
    EXPECT_EQ(laps.maximum, 15);
    EXPECT_EQ(AxisScale::around(0, 150, 20).step, 10);
    const AxisScale single = AxisScale::around(4512, 4512, 8);
    EXPECT_EQ(single.minimum, 4512);
    EXPECT_EQ(single.maximum, 4513);
}
