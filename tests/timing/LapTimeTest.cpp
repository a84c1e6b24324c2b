#include "timing/LapTime.h"
#include "base/UserError.h"

#include <gtest/gtest.h>

namespace {

QString conversionMessage(const std::function<void()>& action) {
    try {
        action();
    } catch (const ConversionError& error) {
        return QString::fromUtf8(error.what());
    }
    return QStringLiteral("<no error>");
}

} // namespace

TEST(FormatLapTime, WritesMinutesWithinTheHourAndPadsEveryField) {
    EXPECT_EQ(FormatLapTime(0), QStringLiteral("00:00:000"));
    EXPECT_EQ(FormatLapTime(83456), QStringLiteral("01:23:456"));
    EXPECT_EQ(FormatLapTime(61005), QStringLiteral("01:01:005"));
    EXPECT_EQ(FormatLapTime(599999), QStringLiteral("09:59:999"));
    EXPECT_EQ(FormatLapTime(9), QStringLiteral("00:00:009"));
    EXPECT_EQ(FormatLapTime(90), QStringLiteral("00:00:090"));
    EXPECT_EQ(FormatLapTime(900), QStringLiteral("00:00:900"));
    EXPECT_EQ(FormatLapTime(3599999), QStringLiteral("59:59:999"));
    EXPECT_EQ(FormatLapTime(3600000), QStringLiteral("00:00:000"));
    EXPECT_EQ(FormatLapTime(3723456), QStringLiteral("02:03:456"));
}

TEST(FormatLapTime, NegativeTimesAreWrittenAsZero) {
    EXPECT_EQ(FormatLapTime(-1), QStringLiteral("00:00:000"));
    EXPECT_EQ(FormatLapTime(std::numeric_limits<qint64>::min()), QStringLiteral("00:00:000"));
}

TEST(ParseLapTime, ReadsFieldsWithoutRangesOrLeadingZeros) {
    EXPECT_EQ(ParseLapTime(QStringLiteral("01:23:456")), 83456);
    EXPECT_EQ(ParseLapTime(QStringLiteral("1:2:3")), 62003);
    EXPECT_EQ(ParseLapTime(QStringLiteral("0:75:0")), 75000);
    EXPECT_EQ(ParseLapTime(QStringLiteral("-1:0:0")), -60000);
    EXPECT_EQ(ParseLapTime(QStringLiteral("  1:+2:3")), 62003);
    EXPECT_EQ(ParseLapTime(QStringLiteral("1: 2: 3")), 62003);
}

TEST(ParseLapTime, RoundTripsEveryTextItWritesBelowAnHour) {
    for (qint64 ms : {0LL, 1LL, 999LL, 1000LL, 59999LL, 60000LL, 83456LL, 3599999LL})
        EXPECT_EQ(ParseLapTime(FormatLapTime(ms)), ms) << ms;
}

TEST(ParseLapTime, RejectsMissingSeparatorsAndStrayCharactersWithTheFieldInTheMessage) {
    EXPECT_EQ(conversionMessage([] { ParseLapTime(QStringLiteral("1:2")); }),
              QStringLiteral("'' is not a valid integer value"));
    EXPECT_EQ(conversionMessage([] { ParseLapTime(QStringLiteral("")); }),
              QStringLiteral("'' is not a valid integer value"));
    EXPECT_EQ(conversionMessage([] { ParseLapTime(QStringLiteral("01:23:456 ")); }),
              QStringLiteral("'456 ' is not a valid integer value"));
    EXPECT_EQ(conversionMessage([] { ParseLapTime(QStringLiteral("0x:1:1")); }),
              QStringLiteral("'0x' is not a valid integer value"));
    EXPECT_EQ(conversionMessage([] { ParseLapTime(QStringLiteral("kolo č. 3")); }),
              QStringLiteral("'' is not a valid integer value"));
    EXPECT_EQ(conversionMessage([] { ParseLapTime(QStringLiteral("a:b:c")); }),
              QStringLiteral("'a' is not a valid integer value"));
    EXPECT_EQ(conversionMessage([] { ParseLapTime(QStringLiteral("1:-:3")); }),
              QStringLiteral("'-' is not a valid integer value"));
    EXPECT_EQ(conversionMessage([] { ParseLapTime(QStringLiteral("99999999999:0:0")); }),
              QStringLiteral("'99999999999' is not a valid integer value"));
}

TEST(EngineTime, WritesHoursAndMinutesWithoutLeadingZeros) {
    EXPECT_EQ(FormatEngineTime(0), QStringLiteral("0:0"));
    EXPECT_EQ(FormatEngineTime(65), QStringLiteral("1:5"));
    EXPECT_EQ(FormatEngineTime(59), QStringLiteral("0:59"));
    EXPECT_EQ(FormatEngineTime(600), QStringLiteral("10:0"));
    EXPECT_EQ(FormatEngineTime(-61), QStringLiteral("-1:-1"));
}

TEST(EngineTime, ParsesItsTextAndRejectsATextWithoutSeparator) {
    EXPECT_EQ(ParseEngineTime(QString()), 0);
    EXPECT_EQ(ParseEngineTime(QStringLiteral("1:05")), 65);
    EXPECT_EQ(ParseEngineTime(QStringLiteral("1:5")), 65);
    EXPECT_EQ(ParseEngineTime(QStringLiteral("0:125")), 125);
    EXPECT_EQ(ParseEngineTime(FormatEngineTime(-61)), -61);
    EXPECT_EQ(conversionMessage([] { ParseEngineTime(QStringLiteral("12")); }),
              QStringLiteral("'' is not a valid integer value"));
    EXPECT_EQ(conversionMessage([] { ParseEngineTime(QStringLiteral("1:5 h")); }),
              QStringLiteral("'5 h' is not a valid integer value"));
}
