// The two tables of the twenty best laps, through the operations the station runs on them, with the
// files compared byte for byte.
#include "TempDataFolder.h"

#include "base/UserError.h"
#include "config/TSettings.h"
#include "config/TextCodec.h"
#include "rankings/BestTwentyEntry.h"
#include "rankings/BestTwentyTables.h"
#include "timing/LapTime.h"

#include <QFile>
#include <QFileInfo>

#include <gtest/gtest.h>

#include <array>

namespace {

const QDate RaceDay(2026, 12, 9);

// A table file of 20 rows; times given in seconds, the rest of the rows empty.
QByteArray tableFile(const QList<std::pair<QString, qint64>>& rows) {
    QStringList lines;
    for (int i = 0; i < 20; ++i) {
        const QString name = i < rows.size() ? rows.at(i).first : QStringLiteral("noname");
        const QString time =
            i < rows.size() ? FormatLapTime(rows.at(i).second * 1000) : QStringLiteral("59:59:999");
        lines << QStringLiteral("%1\t%2\t%3").arg(i + 1).arg(name, time);
    }
    return TextCodec::encodeLines(lines);
}

// Twenty rows of the men's table: 18 at 30..47 s, then 50 s and 60 s.
QList<std::pair<QString, qint64>> fullTable() {
    QList<std::pair<QString, qint64>> rows;
    for (int i = 0; i < 18; ++i)
        rows << std::pair{QStringLiteral("Jezdec %1").arg(i + 1), qint64(30 + i)};
    rows << std::pair{QStringLiteral("Pomalý"), qint64(50)}
         << std::pair{QStringLiteral("Nejpomalejší"), qint64(60)};
    return rows;
}

KartEntry kart(std::initializer_list<const char*> laps, bool woman = false, bool excluded = false) {
    KartEntry entry;
    for (const char* lap : laps)
        entry.laps << QString::fromLatin1(lap);
    entry.woman = woman;
    entry.excluded = excluded;
    return entry;
}

class BestTwentyTablesTest : public ::testing::Test {
protected:
    BestTwentyTablesTest() {
        settings.Zvuk.Applaus = true;
        tables.hooks().playApplause = [this] { ++applause; };
        tables.hooks().showWindow = [this] { ++windows; };
    }
    QStringList names(BestTwentyTables::Table table) const {
        QStringList out;
        for (const BestTwentyRow& row : tables.table(table).rows())
            out << row.name();
        return out;
    }
    QStringList lines(const QString& file) const { return TextCodec::decodeLines(data.readFile(file)); }

    TempDataFolder data;
    TSettings settings;
    BestTwentyTables tables{data.path(), settings};
    int applause = 0;
    int windows = 0;
};

} // namespace

TEST_F(BestTwentyTablesTest, EachKartFacesTheSlowestRowThatThePreviousKartsLeft) {
    data.writeFile(QStringLiteral("TopDeset.ini"), tableFile(fullTable()));
    // Kart 1 at 40 s drives out the 60 s row; kart 2 at 55 s then faces the 50 s row and stays out,
    // kart 3 at 50 s ties it and enters above it, and the 50 s row leaves.
    const std::array<KartEntry, 4> karts = {kart({"00:41:000", "00:40:000", "00:00:000"}),
                                            kart({"00:55:000"}), kart({"00:50:000", "abc"}), kart({})};
    EXPECT_TRUE(tables.TopTenDeset(karts, RaceDay));

    // New rows rank above older rows of their time, and carry the race's date.
    QStringList expected;
    for (int i = 0; i < 10; ++i)
        expected << QStringLiteral("Jezdec %1\t%2").arg(i + 1).arg(FormatLapTime((30 + i) * 1000));
    expected << QStringLiteral("kara1\t00:40:000\t2026-12-09");
    for (int i = 10; i < 18; ++i)
        expected << QStringLiteral("Jezdec %1\t%2").arg(i + 1).arg(FormatLapTime((30 + i) * 1000));
    expected << QStringLiteral("kara3\t00:50:000\t2026-12-09");
    for (int i = 0; i < 20; ++i)
        expected[i] = QString::number(i + 1) + QLatin1Char('\t') + expected[i];
    EXPECT_EQ(data.readFile(QStringLiteral("TopDeset.ini")), TextCodec::encodeLines(expected));
    EXPECT_EQ(applause, 1);
    EXPECT_EQ(windows, 1);
    // The women's table was missing: it is made, empty, and written like the men's.
    EXPECT_EQ(data.readFile(QStringLiteral("TopDeset1.ini")), tableFile({}));
}

TEST_F(BestTwentyTablesTest, WomenExcludedKartsAndTheOfferByHand) {
    data.writeFile(QStringLiteral("TopDeset.ini"), tableFile(fullTable()));
    data.writeFile(QStringLiteral("TopDeset1.ini"), tableFile(fullTable()));
    // Kart 1 is a woman's: only her table counts. Kart 2 does not take part in the tables at race end.
    const std::array<KartEntry, 4> karts = {kart({"00:20:000"}, true), kart({"00:21:000"}, false, true),
                                            kart({}), kart({})};
    EXPECT_TRUE(tables.TopTenDeset(karts, RaceDay));
    EXPECT_EQ(names(BestTwentyTables::Women).first(), QStringLiteral("kara1"));
    EXPECT_EQ(names(BestTwentyTables::Men),
              names(BestTwentyTables::Men).filter(QStringLiteral("Jezdec")) +
                  QStringList({QStringLiteral("Pomalý"), QStringLiteral("Nejpomalejší")}));

    // By hand the box "Bez účasti" is not asked, and the same lap enters again while it qualifies.
    EXPECT_TRUE(tables.insertByHand(2, karts[1], RaceDay));
    EXPECT_TRUE(tables.insertByHand(2, karts[1], RaceDay));
    EXPECT_EQ(names(BestTwentyTables::Men).mid(0, 2),
              QStringList({QStringLiteral("kara2"), QStringLiteral("kara2")}));
    EXPECT_EQ(applause, 3);
    EXPECT_EQ(windows, 3);

    // A kart that enters nothing: no window, no applause, but both files are written renumbered.
    data.writeFile(QStringLiteral("TopDeset1.ini"),
                   TextCodec::encodeLines({QStringLiteral("7\tAlena\t00:31:000")}));
    settings.Zvuk.Applaus = false;
    EXPECT_FALSE(tables.insertByHand(3, kart({"00:00:000"}), RaceDay));
    EXPECT_EQ(lines(QStringLiteral("TopDeset1.ini")).first(), QStringLiteral("1\tAlena\t00:31:000"));
    EXPECT_EQ(lines(QStringLiteral("TopDeset1.ini")).size(), 20);
    EXPECT_EQ(applause, 3);
    EXPECT_EQ(windows, 3);
}

TEST_F(BestTwentyTablesTest, ANamedDriversRowEntersUnderTheNameInWindows1250) {
    std::array<KartEntry, 4> karts = {kart({"00:20:000"}, true), kart({"00:21:000"}), kart({}), kart({})};
    karts[0].driver = QStringLiteral("Žofie Řeháková");
    EXPECT_TRUE(tables.TopTenDeset(karts, RaceDay));
    EXPECT_EQ(names(BestTwentyTables::Women).first(), QStringLiteral("Žofie Řeháková"));
    EXPECT_EQ(names(BestTwentyTables::Men).first(), QStringLiteral("kara2")) << "no name: the identifier";
    EXPECT_TRUE(data.readFile(QStringLiteral("TopDeset1.ini"))
                    .startsWith("1\t\x8eofie \xd8"
                                "eh\xe1kov\xe1\t"));
}

TEST_F(BestTwentyTablesTest, AFileIsKeptAsItIsExceptRowsBeyondTheTwentieth) {
    // Extra fields, a time that is no lap time, a name in windows-1250, 22 lines and a differently
    // spelled file name: all read, all carried, only rows 21 and 22 dropped at the write.
    QStringList file;
    file << QStringLiteral("1\tŠárka Řeháková\t00:31:000\t2025-06-01\tpoznámka")
         << QStringLiteral("2\tBroken\tsoon");
    for (int i = 3; i <= 22; ++i)
        file << QStringLiteral("%1\tJezdec\t00:%2:000").arg(i).arg(30 + i);
    const QString path = data.writeFile(QStringLiteral("topdeset.INI"), TextCodec::encodeLines(file));
    tables.loadBoth();
    EXPECT_EQ(tables.filePath(BestTwentyTables::Men), path);
    EXPECT_EQ(tables.table(BestTwentyTables::Men).rowCount(), 22);
    EXPECT_EQ(tables.table(BestTwentyTables::Men).rowsWithoutLapTime(),
              QStringList({QStringLiteral("řádek 2: \u201e2\tBroken\tsoon\u201c")}));

    tables.editName(BestTwentyTables::Men, 3, QStringLiteral("Petr"));
    QStringList expected = file.mid(0, 20);
    expected[3] = QStringLiteral("4\tPetr\t00:34:000");
    EXPECT_EQ(data.readFile(QStringLiteral("topdeset.INI")), TextCodec::encodeLines(expected));
    EXPECT_FALSE(data.exists(QStringLiteral("TopDeset.ini")));

    // A sort puts the row without a lap time where an empty row would stand, its text unchanged.
    data.writeFile(QStringLiteral("topdeset.INI"), TextCodec::encodeLines(file.mid(0, 3)));
    EXPECT_TRUE(tables.insertByHand(1, kart({"00:40:000"}), RaceDay));
    const QStringList written = lines(QStringLiteral("topdeset.INI"));
    EXPECT_EQ(written.at(3), QStringLiteral("4\tBroken\tsoon"));
    EXPECT_EQ(written.at(4), QStringLiteral("5\tnoname\t59:59:999"));
}

TEST_F(BestTwentyTablesTest, DeleteMoveAndReset) {
    data.writeFile(QStringLiteral("TopDeset.ini"), tableFile(fullTable()));
    data.writeFile(QStringLiteral("TopDeset1.ini"), tableFile({{QStringLiteral("Alena"), 35}}));
    tables.loadBoth();

    tables.deleteRow(BestTwentyTables::Men, 0);
    EXPECT_EQ(tables.table(BestTwentyTables::Men).rowCount(), 20);
    EXPECT_EQ(lines(QStringLiteral("TopDeset.ini")).first(), QStringLiteral("1\tJezdec 2\t00:31:000"));
    EXPECT_EQ(lines(QStringLiteral("TopDeset.ini")).last(), QStringLiteral("20\tnoname\t59:59:999"));

    // Alena's row moves to the full men's table: its last row leaves, even though it was no slower
    // than hers would be, and her row sorts to its place; her old place becomes an empty row.
    tables.moveRow(BestTwentyTables::Women, 0);
    EXPECT_EQ(lines(QStringLiteral("TopDeset.ini")).at(4), QStringLiteral("5\tAlena\t00:35:000"));
    EXPECT_EQ(lines(QStringLiteral("TopDeset.ini")).last(), QStringLiteral("20\tNejpomalejší\t01:00:000"));
    EXPECT_EQ(data.readFile(QStringLiteral("TopDeset1.ini")), tableFile({}));

    // The slow 60 s row moves to the women's table, whose last row leaves.
    tables.moveRow(BestTwentyTables::Men, 19);
    EXPECT_EQ(lines(QStringLiteral("TopDeset1.ini")).first(), QStringLiteral("1\tNejpomalejší\t01:00:000"));
    EXPECT_EQ(lines(QStringLiteral("TopDeset.ini")).last(), QStringLiteral("20\tnoname\t59:59:999"));

    tables.reset();
    EXPECT_EQ(data.readFile(QStringLiteral("TopDeset.ini")), tableFile({}));
    EXPECT_EQ(data.readFile(QStringLiteral("TopDeset1.ini")), tableFile({}));
}

TEST_F(BestTwentyTablesTest, ATableThatCannotBeReadAbandonsTheInsertionBeforeAnyWrite) {
    const QByteArray men = tableFile(fullTable());
    data.writeFile(QStringLiteral("TopDeset.ini"), men);
    data.makeFolder(QStringLiteral("TopDeset1.ini")); // exists, and no file can be read from it
    const std::array<KartEntry, 4> karts = {kart({"00:20:000"}), kart({}), kart({}), kart({})};
    EXPECT_THROW(tables.TopTenDeset(karts, RaceDay), UserError);
    EXPECT_EQ(data.readFile(QStringLiteral("TopDeset.ini")), men);
    EXPECT_EQ(windows, 0);
    EXPECT_EQ(applause, 0);
}

TEST_F(BestTwentyTablesTest, ALinkToADeviceInATablesPlaceIsRefusedAndNeverReplaced) {
    data.writeFile(QStringLiteral("TopDeset1.ini"), tableFile({}));
    const QString link = data.filePath(QStringLiteral("TopDeset.ini"));
    ASSERT_TRUE(QFile::link(QStringLiteral("/dev/null"), link));
    try {
        tables.reset();
        FAIL() << "the link was taken for a table";
    } catch (const UserError& error) {
        EXPECT_TRUE(error.message().contains(link)) << error.message().toStdString();
    }
    EXPECT_EQ(QFileInfo(link).symLinkTarget(), QStringLiteral("/dev/null"));
    EXPECT_FALSE(QFileInfo(QStringLiteral("/dev/null")).isFile());
}

// What shows the tables without changing them reads the same rows as the tables themselves.
TEST(BestTwentyFiles, FirstRowsAreTheTablesOwnAndAMissingFileStaysMissing) {
    TempDataFolder folder;
    EXPECT_TRUE(BestTwentyFiles::firstRows(folder.path(), BestTwentyFiles::Women, 10).isEmpty());
    EXPECT_FALSE(folder.exists(QStringLiteral("TopDeset1.ini")));

    QStringList lines;
    for (int rank = 1; rank <= 20; ++rank)
        lines << QStringLiteral("%1\tŠťastný %1\t00:%2:000\t2026-12-09").arg(rank).arg(rank + 20);
    lines[10] = QStringLiteral("11\tchanged below the tenth\t00:00:001");
    // The folder's own spelling of the name.
    folder.writeFile(QStringLiteral("topdeset.INI"), TextCodec::encodeLines(lines));
    const QList<BestTwentyRow> rows = BestTwentyFiles::firstRows(folder.path(), BestTwentyFiles::Men, 10);
    ASSERT_EQ(rows.size(), 10);
    EXPECT_EQ(rows[0].rank(), "1");
    EXPECT_EQ(rows[0].name(), QStringLiteral("Šťastný 1"));
    EXPECT_EQ(rows[9].time(), "00:30:000");

    // A short file is filled with empty rows as the table fills it.
    folder.writeFile(QStringLiteral("TopDeset1.ini"), TextCodec::encodeLines({"1\tEva\t00:41:000"}));
    const QList<BestTwentyRow> few = BestTwentyFiles::firstRows(folder.path(), BestTwentyFiles::Women, 10);
    ASSERT_EQ(few.size(), 10);
    EXPECT_EQ(few[0].name(), "Eva");
    EXPECT_EQ(few[1].name(), "noname");

    QFile::remove(folder.filePath(QStringLiteral("TopDeset1.ini")));
    folder.makeFolder(QStringLiteral("TopDeset1.ini"));
    EXPECT_THROW(BestTwentyFiles::firstRows(folder.path(), BestTwentyFiles::Women, 10), UserError);
}

// A lap is a new record exactly when its driver's table would take it: the women's table for a
// woman, fewer than twenty rows take any lap, a full table one no slower than its twentieth row. What
// the rule says, the insertion does.
TEST_F(BestTwentyTablesTest, ARecordIsALapTheDriversOwnTableWouldTake) {
    QList<std::pair<QString, qint64>> fastWomen;
    for (int i = 0; i < 20; ++i)
        fastWomen << std::pair{QStringLiteral("Jezdkyně %1").arg(i + 1), qint64(20 + i / 2)}; // 20th: 29 s
    data.writeFile(QStringLiteral("TopDeset.ini"), tableFile(fullTable()));                   // 20th: 60 s
    data.writeFile(QStringLiteral("TopDeset1.ini"), tableFile(fastWomen));
    BestTwentyEntry records;
    EXPECT_TRUE(records.takes(true, 3'000'000)) << "no table read yet: empty rows take any lap";
    for (const auto table : {BestTwentyTables::Men, BestTwentyTables::Women})
        records.setRows(table, BestTwentyFiles::firstRows(data.path(), table, 20));
    EXPECT_TRUE(records.takes(false, 60000)) << "a tie with the twentieth enters";
    EXPECT_FALSE(records.takes(false, 60001));
    EXPECT_TRUE(records.takes(false, 40000));
    EXPECT_FALSE(records.takes(true, 40000)) << "her table, not the men's";
    EXPECT_TRUE(records.takes(true, 29000)) << "a tie with the two equally slow last rows";
    EXPECT_FALSE(records.takes(true, 29001));
    EXPECT_FALSE(records.takes(false, 0));
    // Fewer than twenty rows: what is missing is empty, and any lap enters.
    EXPECT_TRUE(BestTwentyEntry::takes(BestTwentyFiles::firstRows(data.path(), BestTwentyTables::Women, 19),
                                       3'000'000));

    // The insertion agrees, one lap at a time against the files as written above.
    for (const qint64 lapMs : {28999, 29000, 29001}) {
        BestTwentyTables fresh(data.path(), settings);
        const KartEntry entry = kart({qPrintable(FormatLapTime(lapMs))}, true);
        EXPECT_EQ(fresh.insertByHand(1, entry, RaceDay), records.takes(true, lapMs)) << lapMs;
        data.writeFile(QStringLiteral("TopDeset1.ini"), tableFile(fastWomen));
    }
}
