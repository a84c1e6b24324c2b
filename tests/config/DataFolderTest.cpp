#include "config/DataFolder.h"
#include "config/AtomicFile.h"

#include "TempDataFolder.h"

#include <QFile>

#include <gtest/gtest.h>

TEST(DataFolder, ResolvesNamesAgainstTheRealEntriesSegmentBySegment) {
    TempDataFolder temp;
    temp.writeFile(QStringLiteral("TopDeset.ini"), "x");
    temp.writeFile(QStringLiteral("Zvuky/PRG/Applause.wav"), "x");
    const DataFolder folder = temp.dataFolder();

    EXPECT_EQ(folder.filePath(QStringLiteral("topdeset.INI")), temp.filePath(QStringLiteral("TopDeset.ini")));
    EXPECT_EQ(folder.filePath(QStringLiteral("zvuky\\prg\\applause.wav")),
              temp.filePath(QStringLiteral("Zvuky/PRG/Applause.wav")));
    EXPECT_EQ(folder.folderPath(QStringLiteral("ZVUKY")), temp.filePath(QStringLiteral("Zvuky")));
    // A missing name keeps its spelling; the existing folders before it keep theirs.
    EXPECT_EQ(folder.filePath(QStringLiteral("zvuky/Nove/gong.wav")),
              temp.filePath(QStringLiteral("Zvuky/Nove/gong.wav")));
    EXPECT_EQ(folder.filePath(QStringLiteral("stav.ini")), temp.filePath(QStringLiteral("stav.ini")));
}

TEST(DataFolder, PrefersTheExactSpellingWhenTwoEntriesDifferOnlyInCase) {
    TempDataFolder temp;
    temp.writeFile(QStringLiteral("STAV.ini"), "a");
    temp.writeFile(QStringLiteral("stav.ini"), "b");
    EXPECT_EQ(temp.dataFolder().filePath(QStringLiteral("stav.ini")),
              temp.filePath(QStringLiteral("stav.ini")));
    EXPECT_EQ(temp.dataFolder().filePath(QStringLiteral("STAV.ini")),
              temp.filePath(QStringLiteral("STAV.ini")));
}

TEST(DataFolder, AbsoluteNamesAreLeftAlone) {
    TempDataFolder temp;
    EXPECT_EQ(temp.dataFolder().filePath(QStringLiteral("/tmp//x/../Logo.bmp")),
              QStringLiteral("/tmp/Logo.bmp"));
}

TEST(AtomicFile, ReplacesTheFileWhole) {
    TempDataFolder temp;
    const QString path = temp.writeFile(QStringLiteral("stav.ini"), "old content");
    ASSERT_TRUE(AtomicFile::write(path, "new"));
    EXPECT_EQ(temp.readFile(QStringLiteral("stav.ini")), QByteArray("new"));
    EXPECT_EQ(QDir(temp.path()).entryList(QDir::Files),
              QStringList{QStringLiteral("stav.ini")}); // nothing left beside
}

TEST(AtomicFile, AFailureLeavesTheOldFileWholeAndSaysWhy) {
    TempDataFolder temp;
    const QString blocker = temp.writeFile(QStringLiteral("blocker"), "a file, not a folder");
    QString error;
    EXPECT_FALSE(AtomicFile::write(blocker + QStringLiteral("/stav.ini"), "new", &error));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_EQ(temp.readFile(QStringLiteral("blocker")), QByteArray("a file, not a folder"));
}
