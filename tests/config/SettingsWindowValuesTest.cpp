// The small rules behind the settings and About windows: the sound path shown and the version lines.
#include "config/ProgramVersion.h"
#include "config/SoundPathText.h"

#include <gtest/gtest.h>

TEST(SoundPathText, ShorterThan63IsShownWhole) {
    const QString path(62, QLatin1Char('a'));
    EXPECT_EQ(SoundPathText(path), path);
    EXPECT_EQ(SoundPathText(QString()), QString());
}

TEST(SoundPathText, Exactly63IsShortenedWithTheLast63) {
    const QString path = QStringLiteral("/") + QString(62, QLatin1Char('b'));
    ASSERT_EQ(path.size(), 63);
    EXPECT_EQ(SoundPathText(path), QStringLiteral(" ..") + path);
}

TEST(SoundPathText, LongPathKeepsItsEnd) {
    const QString path =
        QStringLiteral("/home/operator/") + QString(80, QLatin1Char('x')) + QStringLiteral("/success.wav");
    const QString shown = SoundPathText(path);
    EXPECT_EQ(shown.size(), 66);
    EXPECT_TRUE(shown.startsWith(QStringLiteral(" ..")));
    EXPECT_TRUE(shown.endsWith(QStringLiteral("/success.wav")));
    EXPECT_EQ(shown.mid(3), path.right(63));
}

TEST(ProgramVersion, LinesShowMajorMinorAndTheBuildsLow16Bits) {
    const ProgramVersion version{2, 0, 0, 23};
    EXPECT_EQ(version.productLine(), QStringLiteral("Tarvolin verze 2.0"));
    EXPECT_EQ(version.buildLine(), QStringLiteral("sestavení 23"));
    const ProgramVersion big{3, 12, 1, 0x10005};
    EXPECT_EQ(big.productLine(), QStringLiteral("Tarvolin verze 3.12"));
    EXPECT_EQ(big.buildLine(), QStringLiteral("sestavení 5"));
}

TEST(ProgramVersion, CurrentIsTheBuildsVersion) {
    const ProgramVersion current = ProgramVersion::current();
    EXPECT_EQ(current.major, TARVOLIN_VERSION_MAJOR);
    EXPECT_EQ(current.minor, TARVOLIN_VERSION_MINOR);
    EXPECT_EQ(current.build, TARVOLIN_VERSION_BUILD);
}
