#include "timing/LapFile.h"
#include "base/UserError.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

QByteArray readBytes(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QByteArray("<missing>");
    return file.readAll();
}

void writeBytes(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

QString messageOf(const std::function<void()>& action) {
    try {
        action();
    } catch (const UserError& error) {
        return error.message();
    }
    return QStringLiteral("<no error>");
}

class LapFileTest : public ::testing::Test {
protected:
    QString path(const QString& name) const { return m_dir.filePath(name); }
    QTemporaryDir m_dir;
};

} // namespace

TEST_F(LapFileTest, EveryLineEndsWithCrLf) {
    saveLapFile(path(QStringLiteral("kara1.txt")),
                {QStringLiteral("00:41:100"), QStringLiteral("00:40:900")});
    EXPECT_EQ(readBytes(path(QStringLiteral("kara1.txt"))), QByteArray("00:41:100\r\n00:40:900\r\n"));
}

TEST_F(LapFileTest, EmptyListMakesAnEmptyFileAndBack) {
    const QString file = path(QStringLiteral("kara2.txt"));
    saveLapFile(file, {});
    EXPECT_TRUE(QFile::exists(file));
    EXPECT_EQ(readBytes(file), QByteArray());
    EXPECT_TRUE(loadLapFile(file).isEmpty());
}

TEST_F(LapFileTest, MissingLastLineEndLoadsTheSameEntries) {
    writeBytes(path(QStringLiteral("a.txt")), "00:41:100\r\n00:40:900\r\n");
    writeBytes(path(QStringLiteral("b.txt")), "00:41:100\r\n00:40:900");
    const QStringList expected = {QStringLiteral("00:41:100"), QStringLiteral("00:40:900")};
    EXPECT_EQ(loadLapFile(path(QStringLiteral("a.txt"))), expected);
    EXPECT_EQ(loadLapFile(path(QStringLiteral("b.txt"))), expected);
}

TEST_F(LapFileTest, CzechTextRoundTripsInWindows1250) {
    const QStringList entries = {QStringLiteral("Žluťoučký kůň"), QStringLiteral("00:38:000"), QString(),
                                 QStringLiteral("pěl ďábelské ódy")};
    const QString file = path(QStringLiteral("kara3.txt"));
    saveLapFile(file, entries);
    const QByteArray bytes = readBytes(file);
    EXPECT_EQ(quint8(bytes.at(0)), 0x8E);     // Ž in windows-1250
    EXPECT_FALSE(bytes.contains("\xC5\xBD")); // not UTF-8
    EXPECT_EQ(loadLapFile(file), entries);
}

TEST(LapFileText, SplitsAtCrLfCrOrLfAndStopsAtNul) {
    EXPECT_EQ(
        splitLapFileText(QStringLiteral("a\rb\nc\r\nd")),
        QStringList({QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c"), QStringLiteral("d")}));
    EXPECT_EQ(splitLapFileText(QStringLiteral("a\r\n\r\nb\r\n")),
              QStringList({QStringLiteral("a"), QString(), QStringLiteral("b")}));
    EXPECT_EQ(splitLapFileText(QString()), QStringList());
    EXPECT_EQ(splitLapFileText(QStringLiteral("\r\n")), QStringList({QString()}));
    EXPECT_EQ(splitLapFileText(QStringLiteral("a\r\nb") + QChar(0) + QStringLiteral("\r\nc")),
              QStringList({QStringLiteral("a"), QStringLiteral("b")}));
}

TEST_F(LapFileTest, NulInTheFileEndsTheText) {
    writeBytes(path(QStringLiteral("n.txt")),
               QByteArray("00:10:000\r\n00:2", 15) + QByteArray(1, '\0') + "0:000\r\n");
    EXPECT_EQ(loadLapFile(path(QStringLiteral("n.txt"))),
              QStringList({QStringLiteral("00:10:000"), QStringLiteral("00:2")}));
}

TEST_F(LapFileTest, FailuresNameTheFileAndTheReason) {
    const QString missing = path(QStringLiteral("chybí.txt"));
    const QString openMessage = messageOf([&] { loadLapFile(missing); });
    EXPECT_TRUE(openMessage.startsWith(
        QStringLiteral("Soubor „%1“ nelze otevřít. ").arg(QDir::toNativeSeparators(missing))))
        << openMessage.toStdString();
    EXPECT_GT(openMessage.size(), QStringLiteral("Soubor „%1“ nelze otevřít. ").arg(missing).size());

    const QString unreachable = path(QStringLiteral("nesložka/kara1.txt"));
    const QString createMessage = messageOf([&] { saveLapFile(unreachable, {QStringLiteral("x")}); });
    EXPECT_TRUE(createMessage.startsWith(
        QStringLiteral("Soubor „%1“ nelze vytvořit. ").arg(QDir::toNativeSeparators(unreachable))))
        << createMessage.toStdString();
}

TEST_F(LapFileTest, SavingReplacesTheWholeFile) {
    const QString file = path(QStringLiteral("kara4.txt"));
    saveLapFile(file,
                {QStringLiteral("00:10:000"), QStringLiteral("00:11:000"), QStringLiteral("00:12:000")});
    saveLapFile(file, {QStringLiteral("00:09:000")});
    EXPECT_EQ(readBytes(file), QByteArray("00:09:000\r\n"));
}

TEST_F(LapFileTest, AKartsListRefusesAHugeFileAndStrayLinesWithShortMessages) {
    const QString huge = path(QStringLiteral("huge.txt"));
    QFile file(huge);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(QByteArray(MaxLapFileBytes + 1, 'x'));
    file.close();
    EXPECT_THROW(loadLapFile(huge), UserError);

    // Seven stray lines, one of them 100 000 characters long: the first five are named, shortened.
    QStringList entries = {QStringLiteral("00:41:000")};
    entries << QString(100000, QLatin1Char('y'));
    for (int i = 0; i < 6; ++i)
        entries << QStringLiteral("kolo %1").arg(i);
    const QString stray = path(QStringLiteral("stray.txt"));
    saveLapFile(stray, entries);
    EXPECT_EQ(loadLapFile(stray), entries);
    try {
        loadLapTimesFile(stray);
        FAIL() << "stray lines were accepted";
    } catch (const UserError& error) {
        EXPECT_LT(error.message().size(), 600);
        EXPECT_TRUE(error.message().contains(QStringLiteral("řádek 2: ")));
        EXPECT_TRUE(error.message().contains(QStringLiteral("řádek 6: \u201ekolo 3\u201c")));
        EXPECT_FALSE(error.message().contains(QStringLiteral("řádek 7")));
        EXPECT_TRUE(error.message().contains(QStringLiteral("celkem 7")));
    }
}
