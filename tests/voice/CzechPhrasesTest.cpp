#include "voice/CzechPhrases.h"

#include <gtest/gtest.h>

TEST(CzechPhrases, LapUnderAMinuteIsSecondsAndHundredths) {
    EXPECT_EQ(CzechPhrases::callout(CzechPhrases::kartWord(2), 31240, false),
              QStringLiteral("Dvojka, třicet jedna celá dvacet čtyři"));
    EXPECT_EQ(CzechPhrases::callout(CzechPhrases::kartWord(4), 30980, true),
              QStringLiteral("Čtyřka, nejlepší kolo, třicet celá devadesát osm"));
    // A fraction below ten is read as a decimal, digit by digit; a round one too.
    EXPECT_EQ(CzechPhrases::lapTime(9050), QStringLiteral("devět celá nula pět"));
    EXPECT_EQ(CzechPhrases::lapTime(20000), QStringLiteral("dvacet celá nula nula"));
    EXPECT_EQ(CzechPhrases::lapTime(45170), QStringLiteral("čtyřicet pět celá sedmnáct"));
}

TEST(CzechPhrases, LapOverAMinuteStartsWithTheMinutes) {
    EXPECT_EQ(CzechPhrases::lapTime(62350), QStringLiteral("minuta dva celá třicet pět"));
    EXPECT_EQ(CzechPhrases::lapTime(131010), QStringLiteral("dvě minuty jedenáct celá nula jedna"));
    EXPECT_EQ(CzechPhrases::lapTime(5 * 60000 + 59990),
              QStringLiteral("pět minut padesát devět celá devadesát devět"));
}

TEST(CzechPhrases, HundredthsAreRoundedHalfUpAcrossSecondsAndMinutes) {
    EXPECT_EQ(CzechPhrases::lapTime(31244), QStringLiteral("třicet jedna celá dvacet čtyři"));
    EXPECT_EQ(CzechPhrases::lapTime(31245), QStringLiteral("třicet jedna celá dvacet pět"));
    EXPECT_EQ(CzechPhrases::lapTime(29995), QStringLiteral("třicet celá nula nula"));
    EXPECT_EQ(CzechPhrases::lapTime(59996), QStringLiteral("minuta nula celá nula nula"));
}

TEST(CzechPhrases, DriversNameKeepsItsDiacritics) {
    EXPECT_EQ(CzechPhrases::callout(QStringLiteral("Jiří Šťastný"), 28010, false),
              QStringLiteral("Jiří Šťastný, dvacet osm celá nula jedna"));
    EXPECT_EQ(CzechPhrases::kartWord(1), QStringLiteral("Jednička"));
    EXPECT_EQ(CzechPhrases::kartWord(3), QStringLiteral("Trojka"));
}
