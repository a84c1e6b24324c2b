// What the backup window makes of its options and the archive's figures.
#include "backup/BackupChoices.h"
#include "backup/DosFileTime.h"
#include "base/StationLocale.h"

#include <gtest/gtest.h>

TEST(BackupChoices, OptionsArchivePathsAndListingTexts) {
    // Each option as its caption says, whatever the order of the component's values.
    EXPECT_EQ(BackupChoices::levelOfOption(0), clFastest);
    EXPECT_EQ(BackupChoices::levelOfOption(1), clDefault);
    EXPECT_EQ(BackupChoices::levelOfOption(2), clMax);
    EXPECT_EQ(BackupChoices::levelOfOption(3), clNone);
    EXPECT_EQ(BackupChoices::modeOfOption(0), rmAll);
    EXPECT_EQ(BackupChoices::modeOfOption(1), rmNoOverwrite);
    EXPECT_EQ(BackupChoices::modeOfOption(2), rmNewer);
    EXPECT_EQ(BackupChoices::modeOfOption(3), rmExisting);
    EXPECT_EQ(BackupChoices::modeOfOption(4), rmNoOverwrite);

    EXPECT_EQ(BackupChoices::archivePath("/d/zaloha", "stara.bck", "nova"),
              QStringLiteral("/d/zaloha/stara.bck"));
    EXPECT_EQ(BackupChoices::archivePath("/d/zaloha", "", "nova"), QStringLiteral("/d/zaloha/nova.bck"));
    EXPECT_EQ(BackupChoices::archivePath("/d/zaloha", "", ""),
              QStringLiteral("/d/zaloha/zalohatarvolin.bck"));

    // Halves go to the even kilobyte.
    EXPECT_EQ(BackupChoices::summary(3, 1536), QStringLiteral("3 souborů, 2 KB celkem"));
    EXPECT_EQ(BackupChoices::summary(3, 2560), QStringLiteral("3 souborů, 2 KB celkem"));
    EXPECT_EQ(BackupChoices::summary(1, 2561), QStringLiteral("1 souborů, 3 KB celkem"));
    EXPECT_EQ(BackupChoices::summary(0, 511), QStringLiteral("0 souborů, 0 KB celkem"));

    const QDateTime when(QDate(2024, 3, 5), QTime(14, 30, 22));
    const qint32 packed = DosFileTime::fromDateTime(when);
    EXPECT_EQ(DosFileTime::toDateTime(packed), when);
    EXPECT_EQ(BackupChoices::listingLine(QStringLiteral("/d/stav.ini\t%1=120").arg(packed)),
              QStringLiteral("/d/stav.ini  přidán ") +
                  stationLocale().toString(when.date(), QLocale::ShortFormat) +
                  QStringLiteral(", 120 bytes"));
}
