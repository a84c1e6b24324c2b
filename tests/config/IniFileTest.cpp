#include "config/IniFile.h"

#include "TempDataFolder.h"

#include <QFile>
#include <QFileInfo>

#include <gtest/gtest.h>

#include <sys/stat.h>

TEST(IniFile, MatchesSectionsAndKeysWithoutRegardToCase) {
    const IniFile ini = IniFile::fromBytes("[Po spusteni]\r\nStart=1\r\n[zvuk]\r\njmeno=gong.wav\r\n");
    EXPECT_TRUE(ini.readBool(QStringLiteral("PO SPUSTENI"), QStringLiteral("START"), false));
    EXPECT_EQ(ini.readString(QStringLiteral("Zvuk"), QStringLiteral("Jmeno"), QString()),
              QStringLiteral("gong.wav"));
    EXPECT_TRUE(ini.hasSection(QStringLiteral("ZVUK")));
    EXPECT_FALSE(ini.contains(QStringLiteral("Zvuk"), QStringLiteral("Hrat")));
}

TEST(IniFile, IntegersAcceptHexadecimalAndFallBackForAnythingElse) {
    const IniFile ini =
        IniFile::fromBytes("[S]\nhex=0x1F\nHEX=0\nupper=0XfF\nneg=-12\nplus=+7\nword=abc\nmixed=12abc\n"
                           "bare=0x\nempty=\nbig=2147483648\nsmall=-2147483648\nfull=0xFFFFFFFF\n"
                           "blank=   42   \n");
    const QString s = QStringLiteral("S");
    EXPECT_EQ(ini.readInt(s, QStringLiteral("hex"), 5), 31); // the first of two equal keys counts
    EXPECT_EQ(ini.readInt(s, QStringLiteral("upper"), 5), 255);
    EXPECT_EQ(ini.readInt(s, QStringLiteral("neg"), 5), -12);
    EXPECT_EQ(ini.readInt(s, QStringLiteral("plus"), 5), 7);
    EXPECT_EQ(ini.readInt(s, QStringLiteral("word"), 5), 5);
    EXPECT_EQ(ini.readInt(s, QStringLiteral("mixed"), 5), 5);
    EXPECT_EQ(ini.readInt(s, QStringLiteral("bare"), 5), 5);
    EXPECT_EQ(ini.readInt(s, QStringLiteral("empty"), 5), 5);
    EXPECT_EQ(ini.readInt(s, QStringLiteral("big"), 5), 5);
    EXPECT_EQ(ini.readInt(s, QStringLiteral("small"), 5), -2147483647 - 1);
    EXPECT_EQ(ini.readInt(s, QStringLiteral("full"), 5), -1);
    EXPECT_EQ(ini.readInt(s, QStringLiteral("blank"), 5), 42);
    EXPECT_EQ(ini.readInt(s, QStringLiteral("missing"), 5), 5);
    EXPECT_EQ(ini.readInt(QStringLiteral("nosection"), QStringLiteral("hex"), 5), 5);
}

TEST(IniFile, BoolIsAnyNonZeroInteger) {
    const IniFile ini = IniFile::fromBytes("[S]\na=2\nb=0\nc=-1\nd=0x10\ne=yes\n");
    const QString s = QStringLiteral("S");
    EXPECT_TRUE(ini.readBool(s, QStringLiteral("a"), false));
    EXPECT_FALSE(ini.readBool(s, QStringLiteral("b"), true));
    EXPECT_TRUE(ini.readBool(s, QStringLiteral("c"), false));
    EXPECT_TRUE(ini.readBool(s, QStringLiteral("d"), false));
    EXPECT_TRUE(ini.readBool(s, QStringLiteral("e"), true));
    EXPECT_FALSE(ini.readBool(s, QStringLiteral("e"), false));
}

TEST(IniFile, StringsAreCutAt2047Characters) {
    const IniFile ini = IniFile::fromBytes("[S]\nlong=" + QByteArray(3000, 'x') + "\n");
    EXPECT_EQ(ini.readString(QStringLiteral("S"), QStringLiteral("long"), QString()).size(), 2047);
}

TEST(IniFile, RewritingKeepsOrderSpellingCommentsAndUnchangedLines) {
    IniFile ini =
        IniFile::fromBytes("; header\r\n[One]\r\n  KeyA = 1 \r\n; note\r\nkeyb=x\r\n\r\n[Two]\r\nz=9\r\n");
    ini.writeInt(QStringLiteral("ONE"), QStringLiteral("keya"), 2);
    ini.writeString(QStringLiteral("one"), QStringLiteral("KeyC"), QStringLiteral("new"));
    ini.writeString(QStringLiteral("Three"), QStringLiteral("k"), QStringLiteral("v"));
    EXPECT_EQ(ini.serialize(),
              QByteArray("; header\r\n[One]\r\nKeyA=2\r\n; note\r\nkeyb=x\r\nKeyC=new\r\n\r\n"
                         "[Two]\r\nz=9\r\n[Three]\r\nk=v\r\n"));
}

TEST(IniFile, ByteValuesRoundTripExactly) {
    QByteArray allPrintable;
    for (int byte = 0x20; byte <= 0xA0; ++byte)
        allPrintable.append(char(byte));
    const QList<QByteArray> values = {allPrintable, " lead", "trail ", "\"quoted\"", "\"",
                                      "  ",         "=",     "a=b",    "[x]",        ";not a comment"};
    IniFile ini;
    for (qsizetype i = 0; i < values.size(); ++i)
        ini.writeBytes(QStringLiteral("Com"), QStringLiteral("k%1").arg(i), values.at(i));
    const IniFile reread = IniFile::fromBytes(ini.serialize());
    for (qsizetype i = 0; i < values.size(); ++i)
        EXPECT_EQ(reread.readBytes(QStringLiteral("Com"), QStringLiteral("k%1").arg(i), "?"), values.at(i))
            << i;
}

TEST(IniFile, ANulIsAnOrdinaryByteAndNothingAfterItIsLost) {
    static const char bytes[] = "[Ftp]\r\nHostitel=ftp\0.example.cz\r\n\0\r\n"
                                "[Com]\r\nSekvence1=!AB\r\n[ComPort1]\r\nPort=COM1\r\n";
    const QByteArray file(bytes, sizeof bytes - 1);
    IniFile ini = IniFile::fromBytes(file);
    EXPECT_EQ(ini.readBytes(QStringLiteral("Ftp"), QStringLiteral("Hostitel"), "?"),
              QByteArray("ftp\0.example.cz", 15));
    EXPECT_EQ(ini.readBytes(QStringLiteral("Com"), QStringLiteral("Sekvence1"), "?"), QByteArray("!AB"));
    // What closing the settings window does: the serial section rewritten, the rest kept.
    ini.writeString(QStringLiteral("ComPort1"), QStringLiteral("Port"), QStringLiteral("COM1"));
    EXPECT_EQ(ini.serialize(), file);

    ini.writeBytes(QStringLiteral("Ftp"), QStringLiteral("Jmeno"), QByteArray("a\0b", 3));
    EXPECT_EQ(
        IniFile::fromBytes(ini.serialize()).readBytes(QStringLiteral("Ftp"), QStringLiteral("Jmeno"), "?"),
        QByteArray("a\0b", 3));
}

TEST(IniFile, ALeadingByteOrderMarkIsSkippedAndNotWrittenBack) {
    IniFile ini = IniFile::fromBytes("\xEF\xBB\xBF[Po spusteni]\r\nPort=2\r\n[Trat]\r\ndelka=450\r\n");
    EXPECT_EQ(ini.sectionNames(), QStringList({QStringLiteral("Po spusteni"), QStringLiteral("Trat")}));
    EXPECT_EQ(ini.readInt(QStringLiteral("Po spusteni"), QStringLiteral("Port"), 1), 2);
    ini.writeInt(QStringLiteral("Trat"), QStringLiteral("delka"), 500);
    EXPECT_EQ(ini.serialize(), QByteArray("[Po spusteni]\r\nPort=2\r\n[Trat]\r\ndelka=500\r\n"));
}

TEST(IniFile, RemovesAKey) {
    IniFile ini = IniFile::fromBytes("[S]\na=1\nB=2\n");
    ini.removeKey(QStringLiteral("s"), QStringLiteral("b"));
    EXPECT_EQ(ini.keyNames(QStringLiteral("S")), QStringList{QStringLiteral("a")});
}

TEST(IniFile, MissingFileLoadsEmptyAndSaveCreatesIt) {
    TempDataFolder folder;
    IniFile ini;
    EXPECT_TRUE(ini.load(folder.filePath(QStringLiteral("none.ini"))));
    EXPECT_TRUE(ini.sectionNames().isEmpty());
    ini.writeString(QStringLiteral("Tisk"), QStringLiteral("Text1"), QStringLiteral("*Čas"));
    ASSERT_TRUE(ini.save(folder.filePath(QStringLiteral("none.ini"))));
    EXPECT_EQ(folder.readFile(QStringLiteral("none.ini")), QByteArray("[Tisk]\r\nText1=*\xc8"
                                                                      "as\r\n"));
}

TEST(IniFile, AFileThatCannotBeReadIsReported) {
    TempDataFolder folder;
    folder.makeFolder(QStringLiteral("dir.ini"));
    IniFile ini;
    EXPECT_FALSE(ini.load(folder.filePath(QStringLiteral("dir.ini"))));
}

TEST(IniFile, AFifoOrAHugeFileIsRefusedUnreadAndNeverReplaced) {
    TempDataFolder folder;
    // A FIFO nobody writes to: opening it to read would wait for ever.
    const QString fifo = folder.filePath(QStringLiteral("stav.ini"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    IniFile ini;
    QString refusal;
    EXPECT_FALSE(ini.load(fifo, &refusal));
    EXPECT_TRUE(refusal.contains(fifo) && refusal.contains(QStringLiteral("není obyčejný soubor")))
        << refusal.toStdString();
    QString reason;
    EXPECT_FALSE(ini.save(fifo, &reason));
    EXPECT_FALSE(reason.isEmpty());
    EXPECT_FALSE(QFileInfo(fifo).isFile());

    // An "endless" file: far above any INI file, refused without being read whole.
    const QString huge = folder.filePath(QStringLiteral("tarvolin.ini"));
    QFile file(huge);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly) && file.resize(50 * 1024 * 1024));
    file.close();
    refusal.clear();
    EXPECT_FALSE(ini.load(huge, &refusal));
    EXPECT_TRUE(refusal.contains(QStringLiteral("je větší než"))) << refusal.toStdString();
}
