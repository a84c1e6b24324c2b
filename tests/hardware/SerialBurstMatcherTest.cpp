#include "hardware/SerialBurstMatcher.h"

#include <gtest/gtest.h>

#include <random>

namespace {

class BurstMatcher : public ::testing::Test {
protected:
    QByteArrayList feed(const QByteArray& text) { return matcher.feed(text, sequences); }
    QByteArrayList settle() { return matcher.settle(sequences); }

    SerialBurstMatcher matcher;
    QByteArrayList sequences;
};

using Found = QByteArrayList;

} // namespace

TEST_F(BurstMatcher, ASequenceCutIntoSeveralReadsIsFoundOnceWhenItsLastByteComes) {
    sequences = {"K1x"};
    EXPECT_EQ(feed("K"), Found{});
    EXPECT_EQ(feed("1"), Found{});
    EXPECT_EQ(feed("x"), Found{"K1x"});
    EXPECT_FALSE(matcher.holding());
}

TEST_F(BurstMatcher, SequencesReadTogetherAreFoundEachInTheOrderTheyCame) {
    sequences = {"K1", "K2", "K3"};
    EXPECT_EQ(feed("K3K1K1K2"), (Found{"K3", "K1", "K1", "K2"}));
    EXPECT_EQ(feed("K2K"), Found{"K2"});
    EXPECT_EQ(feed("3"), Found{"K3"});
}

TEST_F(BurstMatcher, BytesThatBeginNoSequenceAreDropped) {
    sequences = {"K1"};
    EXPECT_EQ(feed("xyK1zK"), Found{"K1"});
    EXPECT_EQ(matcher.held(), QByteArray("K"));
    EXPECT_EQ(feed("z"), Found{});
    EXPECT_FALSE(matcher.holding());
}

TEST_F(BurstMatcher, AStartThatNeverCompletesDoesNotHideTheNextBurst) {
    sequences = {"ABCD"};
    EXPECT_EQ(feed("AB"), Found{});
    EXPECT_EQ(feed("ABCD"), Found{"ABCD"});
    EXPECT_EQ(feed("ABC"), Found{});
    EXPECT_EQ(feed("ABCD"), Found{"ABCD"});
    EXPECT_FALSE(matcher.holding());
}

TEST_F(BurstMatcher, ASequenceThatBeginsALongerOneWaitsForTheBytesThatDecide) {
    sequences = {"AB", "ABC"};
    EXPECT_EQ(feed("AB"), Found{});
    EXPECT_EQ(feed("C"), Found{"ABC"});
    EXPECT_EQ(feed("AB"), Found{});
    EXPECT_EQ(feed("x"), Found{"AB"});
    EXPECT_EQ(feed("ABCAB"), Found{"ABC"});
    EXPECT_EQ(settle(), Found{"AB"}) << "the line went quiet after the shorter one";
    EXPECT_FALSE(matcher.holding());
}

TEST_F(BurstMatcher, SettlingFindsWhatTheHeldStartContainsAndHoldsNothing) {
    sequences = {"ABCD", "BC"};
    EXPECT_EQ(feed("ABC"), Found{});
    EXPECT_EQ(settle(), Found{"BC"});
    EXPECT_FALSE(matcher.holding());
    EXPECT_EQ(feed("AB"), Found{});
    EXPECT_EQ(settle(), Found{});
    EXPECT_FALSE(matcher.holding());
}

TEST_F(BurstMatcher, WhatIsHeldStaysShorterThanTheLongestSequence) {
    sequences = {"ABCDE", "AC"};
    std::mt19937 random(7);
    std::uniform_int_distribution<int> letter('A', 'E');
    for (int read = 0; read < 2000; ++read) {
        QByteArray text;
        for (int i = 0; i < 50; ++i)
            text.append(char(letter(random)));
        feed(text);
        ASSERT_LT(matcher.held().size(), 5) << read;
    }
    sequences = {};
    feed(QByteArray(100000, 'A'));
    EXPECT_FALSE(matcher.holding()) << "nothing learned, nothing held";
}

TEST_F(BurstMatcher, EmptySlotsAreNoSequence) {
    sequences = {QByteArray(), "K1", QByteArray()};
    EXPECT_EQ(feed("xx"), Found{});
    EXPECT_FALSE(matcher.holding());
    EXPECT_EQ(feed("K1"), Found{"K1"});
}

TEST_F(BurstMatcher, ClearingForgetsAHeldStart) {
    sequences = {"K1"};
    feed("K");
    matcher.clear();
    EXPECT_EQ(feed("1"), Found{});
}
