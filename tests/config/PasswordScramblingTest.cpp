#include "config/PasswordScrambling.h"

#include <gtest/gtest.h>

#include <algorithm>

TEST(PasswordScrambling, KnownVectors) {
    EXPECT_EQ(StrEncrypt("a"), QByteArray::fromHex("7f"));
    EXPECT_EQ(StrEncrypt("heslo"), QByteArray::fromHex("763345ab38"));
    EXPECT_EQ(Base64Encode(StrEncrypt("heslo")), QStringLiteral("djNFqzg="));
    EXPECT_EQ(Base64Encode(StrEncrypt("Heslo123")), QStringLiteral("Vgc8end7sDA="));
    EXPECT_EQ(Base64Encode(StrEncrypt(QByteArray("\x9elu\x9dou\xe8k\xfd"))), QStringLiteral("gM5Wm54q6bhj"));
    EXPECT_EQ(StrDecrypt(Base64Decode(QStringLiteral("djNFqzg="))), QByteArray("heslo"));
}

TEST(PasswordScrambling, EmptyStaysEmpty) {
    EXPECT_TRUE(StrEncrypt(QByteArray()).isEmpty());
    EXPECT_TRUE(StrDecrypt(QByteArray()).isEmpty());
    EXPECT_TRUE(Base64Encode(QByteArray()).isEmpty());
    EXPECT_TRUE(Base64Decode(QString()).isEmpty());
}

TEST(PasswordScrambling, DecryptUndoesEncryptForEveryByteValue) {
    QByteArray all;
    for (int byte = 0; byte < 256; ++byte)
        all.append(char(byte));
    for (qsizetype length : {qsizetype(1), qsizetype(2), qsizetype(3), qsizetype(255), qsizetype(256)}) {
        const QByteArray plain = all.right(length);
        const QByteArray scrambled = StrEncrypt(plain);
        EXPECT_EQ(scrambled.size(), plain.size());
        EXPECT_EQ(StrDecrypt(scrambled), plain) << length;
        EXPECT_EQ(Base64Decode(Base64Encode(scrambled)), scrambled) << length;
    }
    // Every single byte on its own, and reversed order, so each byte meets different keys.
    for (int byte = 0; byte < 256; ++byte)
        EXPECT_EQ(StrDecrypt(StrEncrypt(QByteArray(1, char(byte)))), QByteArray(1, char(byte)));
    QByteArray reversed = all;
    std::reverse(reversed.begin(), reversed.end());
    EXPECT_EQ(StrDecrypt(StrEncrypt(reversed)), reversed);
}

TEST(Base64, PadsTheLastGroup) {
    EXPECT_EQ(Base64Encode("M"), QStringLiteral("TQ=="));
    EXPECT_EQ(Base64Encode("Ma"), QStringLiteral("TWE="));
    EXPECT_EQ(Base64Encode("Man"), QStringLiteral("TWFu"));
    EXPECT_EQ(Base64Encode(QByteArray("\xff\xfe\xfd\x00", 4)), QStringLiteral("//79AA=="));
    EXPECT_EQ(Base64Decode(QStringLiteral("TQ==")), QByteArray("M"));
    EXPECT_EQ(Base64Decode(QStringLiteral("TWE=")), QByteArray("Ma"));
    EXPECT_EQ(Base64Decode(QStringLiteral("//79AA==")), QByteArray("\xff\xfe\xfd\x00", 4));
}

TEST(Base64, MalformedTextGivesSomeBytesWithoutFailing) {
    EXPECT_EQ(Base64Decode(QStringLiteral("TWFu\r\n TWE")),
              QByteArray("ManMa"));                                       // foreign characters skipped
    EXPECT_EQ(Base64Decode(QStringLiteral("TWFuT")), QByteArray("Man"));  // a lone character adds nothing
    EXPECT_EQ(Base64Decode(QStringLiteral("TQ==TWFu")), QByteArray("M")); // the text ends at "="
    EXPECT_TRUE(Base64Decode(QStringLiteral("***č€")).isEmpty());
    EXPECT_TRUE(Base64Decode(QStringLiteral("====")).isEmpty());
}
