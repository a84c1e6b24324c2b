#include "hardware/ScenarioReader.h"
#include "base/UserError.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {
ScenarioEvent pass(qint64 ms, int kart) {
    return {ms, ScenarioEvent::Pass, kart};
}
ScenarioEvent press(qint64 ms) {
    return {ms, ScenarioEvent::Press, 0};
}
ScenarioEvent release(qint64 ms) {
    return {ms, ScenarioEvent::Release, 0};
}
} // namespace

TEST(ScenarioReader, ReadsPassesAndButtonStepsInTimeOrder) {
    QList<ScenarioReader::LineError> errors;
    const QList<ScenarioEvent> events =
        ScenarioReader::parse(QStringLiteral("# a short race\r\n"
                                             "1000 start\r\n"
                                             "\r\n"
                                             "  40000 pass 1   # first lap\r\n"
                                             "35000 PASS 2\r\n"
                                             "40000 pass 4\r\n"
                                             "90000 press\n"
                                             "90500 Release\n"),
                              &errors);
    EXPECT_TRUE(errors.isEmpty());
    const QList<ScenarioEvent> expected = {press(1000),    release(1300), pass(35000, 2), pass(40000, 1),
                                           pass(40000, 4), press(90000),  release(90500)};
    EXPECT_EQ(events, expected);
}

TEST(ScenarioReader, ReportsEveryBadLineWithItsNumber) {
    QList<ScenarioReader::LineError> errors;
    const QList<ScenarioEvent> events = ScenarioReader::parse(QStringLiteral("100 pass 1\n"
                                                                             "abc pass 1\n"
                                                                             "-5 pass 1\n"
                                                                             "200\n"
                                                                             "300 jump\n"
                                                                             "400 pass\n"
                                                                             "500 pass 5\n"
                                                                             "600 pass 2 3 4\n"
                                                                             "700 start now\n"
                                                                             "800 pass 3\n"),
                                                              &errors);
    EXPECT_EQ(events, (QList<ScenarioEvent>{pass(100, 1), pass(800, 3)}));
    ASSERT_EQ(errors.size(), 8);
    QList<int> lines;
    for (const auto& error : errors) {
        lines << error.line;
        EXPECT_FALSE(error.message.isEmpty());
    }
    EXPECT_EQ(lines, (QList<int>{2, 3, 4, 5, 6, 7, 8, 9}));
    EXPECT_TRUE(errors.at(0).message.contains(QStringLiteral("abc")));
    EXPECT_TRUE(errors.at(3).message.contains(QStringLiteral("jump")));
    EXPECT_TRUE(errors.at(5).message.contains(QStringLiteral("1 až 4")));
}

TEST(ScenarioReader, AFileWithBadLinesOrNoFileAtAllStopsWithAMessage) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("race.txt"));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("100 pass 1\n200 pass 9\n300 fly\n");
    file.close();
    try {
        ScenarioReader::readFile(path);
        ADD_FAILURE() << "a bad scenario was accepted";
    } catch (const UserError& error) {
        EXPECT_TRUE(error.message().contains(path));
        EXPECT_TRUE(error.message().contains(QStringLiteral("řádek 2:")));
        EXPECT_TRUE(error.message().contains(QStringLiteral("řádek 3:")));
        EXPECT_FALSE(error.message().contains(QStringLiteral("řádek 1:")));
    }
    EXPECT_THROW(ScenarioReader::readFile(dir.filePath(QStringLiteral("missing.txt"))), UserError);

    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write("100 pass 1\n");
    file.close();
    EXPECT_EQ(ScenarioReader::readFile(path), (QList<ScenarioEvent>{pass(100, 1)}));
}

TEST(ScenarioReader, TheSampleRaceReadsWithoutErrors) {
    const QList<ScenarioEvent> events =
        ScenarioReader::readFile(QStringLiteral(TARVOLIN_TEST_DATA "/virtual_track/short_race.txt"));
    ASSERT_GE(events.size(), 16);
    EXPECT_EQ(events.first(), press(1000));
    EXPECT_EQ(events.last(), release(200000 + ScenarioReader::StartPressMs));
}

TEST(ScenarioReader, HostileFilesAreRefusedWithShortMessages) {
    // A time at the integer limit would overflow with the button's release added.
    QList<ScenarioReader::LineError> errors;
    EXPECT_TRUE(ScenarioReader::parse(QStringLiteral("9223372036854775807 start\n"), &errors).isEmpty());
    ASSERT_EQ(errors.size(), 1);
    EXPECT_EQ(ScenarioReader::parse(QStringLiteral("604800000 pass 1\n"), nullptr).size(), 1);

    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("race.txt"));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    for (int i = 0; i < 100; ++i)
        file.write(QByteArray(500, 'x') + "\n");
    file.close();
    try {
        ScenarioReader::readFile(path);
        ADD_FAILURE() << "a bad scenario was accepted";
    } catch (const UserError& error) {
        EXPECT_TRUE(error.message().contains(QStringLiteral("řádek 20:")));
        EXPECT_FALSE(error.message().contains(QStringLiteral("řádek 21:")));
        EXPECT_TRUE(error.message().contains(QStringLiteral("celkem 100")));
        EXPECT_LT(error.message().size(), 4000);
    }

    // A device that never ends is read only up to the limit.
    if (QFile::exists(QStringLiteral("/dev/zero"))) {
        EXPECT_THROW(ScenarioReader::readFile(QStringLiteral("/dev/zero")), UserError);
    }
}

TEST(ScenarioReader, APassMayHoldItsSensorLonger) {
    QList<ScenarioReader::LineError> errors;
    const QList<ScenarioEvent> events = ScenarioReader::parse(
        QStringLiteral("100 pass 2 250\n200 pass 3\n300 pass 1 0\n400 pass 1 9 x\n"), &errors);
    EXPECT_EQ(events,
              (QList<ScenarioEvent>{{100, ScenarioEvent::Pass, 2, 250}, {200, ScenarioEvent::Pass, 3, 0}}));
    ASSERT_EQ(errors.size(), 2);
    EXPECT_EQ(errors.at(0).line, 3);
    EXPECT_EQ(errors.at(1).line, 4);
}
