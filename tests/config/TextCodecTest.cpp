#include "config/TextCodec.h"

#include <gtest/gtest.h>

TEST(TextCodec, CzechTextRoundTripsThroughWindows1250Bytes) {
    const QString text = QStringLiteral("Děkujeme Vám za vaši návštěvu. Žluťoučký kůň úpěl ďábelské ódy.");
    const QByteArray bytes = TextCodec::encode(text);
    EXPECT_EQ(bytes.size(), text.size()); // one byte per character
    EXPECT_EQ(bytes.mid(0, 3), QByteArray("D\xec"
                                          "k"));
    EXPECT_EQ(TextCodec::decode(bytes), text);
}

TEST(TextCodec, EveryByteButNulSurvivesDecodeAndEncode) {
    QByteArray all;
    for (int byte = 1; byte < 256; ++byte)
        all.append(char(byte));
    EXPECT_EQ(TextCodec::encode(TextCodec::decode(all)), all);
}

TEST(TextCodec, SplitsAtEveryKindOfLineEndWithoutAnEmptyLastEntry) {
    EXPECT_EQ(TextCodec::splitLines(QByteArray("a\r\nb\rc\nd")), (QList<QByteArray>{"a", "b", "c", "d"}));
    EXPECT_EQ(TextCodec::splitLines(QByteArray("a\r\n")), (QList<QByteArray>{"a"}));
    EXPECT_EQ(TextCodec::splitLines(QByteArray("a\r\n\r\n")), (QList<QByteArray>{"a", ""}));
    EXPECT_EQ(TextCodec::splitLines(QByteArray("\n\r")), (QList<QByteArray>{"", ""}));
    EXPECT_TRUE(TextCodec::splitLines(QByteArray()).isEmpty());
    EXPECT_EQ(TextCodec::splitLines(QStringLiteral("x\r\ny")),
              (QStringList{QStringLiteral("x"), QStringLiteral("y")}));
}

TEST(TextCodec, NulIsAnOrdinaryByteOfItsLine) {
    EXPECT_EQ(TextCodec::splitLines(QByteArray("ab\0cd\r\nef", 9)),
              (QList<QByteArray>{QByteArray("ab\0cd", 5), "ef"}));
    EXPECT_EQ(TextCodec::splitLines(QByteArray("ab\r\n\0cd", 7)),
              (QList<QByteArray>{"ab", QByteArray("\0cd", 3)}));
    EXPECT_EQ(TextCodec::splitLines(QStringLiteral("x") + QChar(0) + QStringLiteral("\ny")),
              (QStringList{QStringLiteral("x") + QChar(0), QStringLiteral("y")}));
}

TEST(TextCodec, JoinPutsCrLfAfterEveryLine) {
    EXPECT_EQ(TextCodec::joinLines(QList<QByteArray>{"a", "", "b"}), QByteArray("a\r\n\r\nb\r\n"));
    EXPECT_EQ(TextCodec::joinLines(QList<QByteArray>{}), QByteArray());
    const QStringList lines = {QStringLiteral("kara1"), QStringLiteral("01:23:456")};
    EXPECT_EQ(TextCodec::encodeLines(lines), QByteArray("kara1\r\n01:23:456\r\n"));
    EXPECT_EQ(TextCodec::decodeLines(TextCodec::encodeLines(lines)), lines);
}

TEST(TextCodec, FindsWhatWindows1250CannotHoldAndNothingElse) {
    // "ü" and the Czech letters are in the code page; "Ø" and an emoji are not.
    const QString emoji = QStringLiteral("\U0001F600");
    EXPECT_TRUE(TextCodec::unencodable(QStringLiteral("Jürgen Dvořák, Žluťoučký kůň")).isEmpty());
    EXPECT_EQ(TextCodec::unencodable(QStringLiteral("Jürgen Ørsted ") + emoji + QStringLiteral(" Ø")),
              QStringList({QStringLiteral("Ø"), emoji}));
    const QString hint = TextCodec::unencodableHint(QStringLiteral("Ørsted"));
    EXPECT_TRUE(hint.contains(QStringLiteral("\u201eØ\u201c"))) << hint.toStdString();
    EXPECT_TRUE(TextCodec::unencodableHint(QStringLiteral("Jürgen")).isEmpty());
}
