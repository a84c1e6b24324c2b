#include "hardware/PortBase.h"
#include "base/UserError.h"

#include <gtest/gtest.h>

TEST(PortBase, ChoicesGiveLpt1Lpt2OrTheHexadecimalText) {
    EXPECT_EQ(PortBase::fromChoice(1, QStringLiteral("zzz")), 888);
    EXPECT_EQ(PortBase::fromChoice(2, QStringLiteral("zzz")), 632);
    EXPECT_EQ(PortBase::fromChoice(3, QStringLiteral("DC00")), 0xDC00);
    EXPECT_EQ(PortBase::fromChoice(3, QStringLiteral("378")), 888);
}

TEST(PortBase, HexadecimalTextKeepsTheLow16Bits) {
    EXPECT_EQ(PortBase::fromHexText(QStringLiteral("DC00")), 0xDC00);
    EXPECT_EQ(PortBase::fromHexText(QStringLiteral("1DC00")), 0xDC00);
    EXPECT_EQ(PortBase::fromHexText(QStringLiteral("dc00")), 0xDC00);
    EXPECT_EQ(PortBase::fromHexText(QStringLiteral("FFFFFFFF")), 0xFFFF);
    EXPECT_EQ(PortBase::fromHexText(QStringLiteral("  278")), 632);
}

TEST(PortBase, TextThatIsNotHexadecimalGivesTheConversionErrorWithDollar) {
    for (const QString& text :
         {QStringLiteral("XYZ"), QStringLiteral(""), QStringLiteral("DC00 "), QStringLiteral("$DC00"),
          QStringLiteral("0x378"), QStringLiteral("-378"), QStringLiteral("100000000")}) {
        try {
            PortBase::fromHexText(text);
            ADD_FAILURE() << "accepted " << text.toStdString();
        } catch (const ConversionError& error) {
            EXPECT_EQ(error.message(), QStringLiteral("'$%1' is not a valid integer value").arg(text));
        }
    }
    EXPECT_THROW(PortBase::fromChoice(3, QStringLiteral("XYZ")), ConversionError);
}
