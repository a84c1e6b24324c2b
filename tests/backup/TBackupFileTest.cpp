// The archive byte for byte against layouts put together here by hand, its volumes, the restore
// modes and targets, and what a hostile or broken archive may not do.
#include "TempDataFolder.h"

#include "backup/ArchiveLayout.h"
#include "backup/DosFileTime.h"
#include "backup/TBackupFile.h"
#include "config/TextCodec.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QtEndian>

#include <gtest/gtest.h>
#include <zlib.h>

namespace {

// An archive written out by hand, field by field.
class Layout {
public:
    Layout& int32(qint32 value) {
        char bytes[4];
        qToLittleEndian(value, bytes);
        m_bytes.append(bytes, 4);
        return *this;
    }
    Layout& text(const QByteArray& bytes) {
        m_bytes += bytes;
        return *this;
    }
    Layout& counted(const QByteArray& bytes) { return int32(qint32(bytes.size())).text(bytes); }
    Layout& header(const QByteArray& title, qint32 total, qint32 count) {
        return counted(title).int32(total).int32(count);
    }
    Layout& entry(const QByteArray& name, qint32 time) { return counted(name).int32(time); }
    Layout& signature() { return text(QByteArray("EC2\0", 4)); }
    Layout& compressed(const QByteArray& data, int level) {
        const QByteArray stream = zlibStream(data, level);
        return int32(qint32(stream.size())).text(stream);
    }
    Layout& stored(const QByteArray& data) { return int32(-qint32(data.size())).text(data); }
    Layout& segmentEnd() { return int32(0); }
    // A whole one-segment entry whose blocks are compressed at level.
    Layout& file(const QByteArray& name, qint32 time, const QByteArray& data, int level = 1) {
        entry(name, time).signature();
        for (qsizetype at = 0; at < data.size(); at += 16384)
            compressed(data.mid(at, 16384), level);
        return segmentEnd();
    }
    Layout& end() { return int32(0); }
    const QByteArray& bytes() const { return m_bytes; }

    // One complete zlib stream: window bits 15, memory level 8, default strategy.
    static QByteArray zlibStream(const QByteArray& data, int level) {
        uLongf size = compressBound(uLong(data.size()));
        QByteArray out(qsizetype(size), Qt::Uninitialized);
        compress2(reinterpret_cast<Bytef*>(out.data()), &size,
                  reinterpret_cast<const Bytef*>(data.constData()), uLong(data.size()), level);
        out.resize(qsizetype(size));
        return out;
    }

private:
    QByteArray m_bytes;
};

const QDateTime kFileTime(QDate(2024, 3, 5), QTime(14, 30, 22), Qt::LocalTime);
// 2024-03-05 14:30:22 packed by hand: (44 << 9 | 3 << 5 | 5) << 16 | (14 << 11 | 30 << 5 | 11).
constexpr qint32 kPackedTime =
    qint32((quint32((44 << 9) | (3 << 5) | 5) << 16) | ((14 << 11) | (30 << 5) | 11));

void setTime(const QString& path, const QDateTime& time) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    ASSERT_TRUE(file.setFileTime(time, QFileDevice::FileModificationTime));
}

QString writeTimed(const TempDataFolder& folder, const QString& name, const QByteArray& content,
                   const QDateTime& time = kFileTime) {
    const QString path = folder.writeFile(name, content);
    setTime(path, time);
    return path;
}

QByteArray readAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeAll(const QString& path, const QByteArray& bytes) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(bytes);
}

QByteArray lapText(int size) {
    QByteArray text;
    for (int lap = 0; text.size() < size; ++lap)
        text += QByteArray::number(lap % 97) + "\t01:" + QByteArray::number(10 + lap % 50) + ":123\r\n";
    return text.left(size);
}

QByteArray randomBytes(int size, quint32 seed) {
    QRandomGenerator random(seed);
    QByteArray bytes(size, Qt::Uninitialized);
    for (char& byte : bytes)
        byte = char(random.generate() & 0xFF);
    return bytes;
}

QByteArray stored(const QString& path) {
    return TextCodec::encode(QFileInfo(path).absoluteFilePath());
}

// The archive component with its errors kept for the test.
struct Recorder {
    TBackupFile backup;
    QList<int> errors;
    QStringList messages;
    Recorder() {
        backup.setLetEventsRun(false);
        backup.OnError = [this](int code, const QString& text) {
            errors << code;
            messages << text;
        };
    }
};

} // namespace

TEST(BackupArchive, BlocksOfOneFileAnEmptyFileAndTheHeaderByteForByte) {
    TempDataFolder data;
    // 16 385 bytes of laps: a full block and one of the last byte; names keep their capitals.
    const QByteArray laps = lapText(16385);
    const QString lapsPath = writeTimed(data, QStringLiteral("Vysledky/Kara1.TXT"), laps);
    const QString emptyPath = writeTimed(data, QStringLiteral("Vysledky/prázdný"), QByteArray());
    const QString exact = writeTimed(data, QStringLiteral("Vysledky/plny"), lapText(16384));
    const QString archive = data.filePath(QStringLiteral("zaloha/test.bck"));
    QDir().mkpath(data.filePath(QStringLiteral("zaloha")));

    Recorder r;
    r.backup.setBackupTitle(QStringLiteral("záloha tarvolin"));
    ASSERT_TRUE(r.backup.BackupFiles({data.filePath(QStringLiteral("vysledky/*.*"))}, archive));
    EXPECT_TRUE(r.errors.isEmpty()) << r.messages.join(u'\n').toStdString();

    // Names in the order of the folder listing: "Kara1.TXT", "plny", "prázdný".
    Layout expected;
    expected.header(QByteArray("z\xe1loha tarvolin"), 16385 + 16384, 3)
        .entry(stored(lapsPath), kPackedTime)
        .signature()
        .compressed(laps.left(16384), 1)
        .compressed(laps.right(1), 1)
        .segmentEnd()
        .file(stored(exact), kPackedTime, lapText(16384))
        .entry(stored(emptyPath), kPackedTime)
        .signature()
        .segmentEnd()
        .end();
    EXPECT_TRUE(stored(emptyPath).endsWith("/Vysledky/pr\xe1zdn\xfd"));
    ASSERT_EQ(readAll(archive), expected.bytes());

    // Bytes written: 4 per signature and 4 + |L| per block.
    const qint64 written = 3 * 4 + 4 + Layout::zlibStream(laps.left(16384), 1).size() + 4 +
                           Layout::zlibStream(laps.right(1), 1).size() + 4 +
                           Layout::zlibStream(lapText(16384), 1).size();
    EXPECT_EQ(r.backup.CompressionRatio(), int(100 - written * 100 / (16385 + 16384)));

    // Back again, below the folder they came from: data, the archived time, and the empty file.
    ASSERT_TRUE(r.backup.RestoreArchive(archive, data.filePath(QStringLiteral("jinam"))));
    const QString target = data.filePath(QStringLiteral("jinam/Vysledky"));
    EXPECT_EQ(readAll(target + QStringLiteral("/Kara1.TXT")), laps);
    EXPECT_EQ(readAll(target + QStringLiteral("/plny")), lapText(16384));
    EXPECT_TRUE(QFileInfo(target + QStringLiteral("/prázdný")).isFile());
    EXPECT_EQ(QFileInfo(target + QStringLiteral("/prázdný")).size(), 0);
    EXPECT_EQ(QFileInfo(target + QStringLiteral("/Kara1.TXT")).lastModified(), kFileTime);
    EXPECT_EQ(QFileInfo(target + QStringLiteral("/prázdný")).lastModified(), kFileTime);
}

TEST(BackupArchive, StoredBlocksAtLevelNoneAndForDataThatDoesNotShrinkAndAnEmptyTitle) {
    TempDataFolder data;
    const QByteArray text = lapText(16384 + 10);
    const QByteArray noise = randomBytes(20000, 7);
    const QString textPath = writeTimed(data, QStringLiteral("a.txt"), text);
    const QString noisePath = writeTimed(data, QStringLiteral("b.bin"), noise);
    const QString archive = data.filePath(QStringLiteral("x.bck"));

    Recorder r;
    r.backup.setCompressionLevel(clNone);
    ASSERT_TRUE(r.backup.BackupFiles({textPath}, archive));
    // A full block at level 0 does not fit in 16 384 bytes as a stream; the short last one does.
    Layout none;
    none.header(QByteArray(), qint32(text.size()), 1)
        .entry(stored(textPath), kPackedTime)
        .signature()
        .stored(text.left(16384))
        .compressed(text.mid(16384), 0)
        .segmentEnd()
        .end();
    EXPECT_EQ(readAll(archive), none.bytes());

    r.backup.setCompressionLevel(clMax);
    ASSERT_TRUE(r.backup.BackupFiles({noisePath}, archive));
    Layout noisy;
    noisy.header(QByteArray(), qint32(noise.size()), 1)
        .entry(stored(noisePath), kPackedTime)
        .signature()
        .stored(noise.left(16384))
        .compressed(noise.mid(16384), 9) // a short block fits even as a stream of stored data
        .segmentEnd()
        .end();
    EXPECT_EQ(readAll(archive), noisy.bytes());
    EXPECT_LE(r.backup.CompressionRatio(), 0);
    EXPECT_EQ(r.backup.ReadArchiveInfo(archive), QString());

    // An archive of another make, at the default level, restores the same.
    const QString other = data.filePath(QStringLiteral("other.bck"));
    writeAll(other, Layout().header("t", 3, 1).file("/x/a.txt", kPackedTime, "abc", 6).end().bytes());
    ASSERT_TRUE(r.backup.RestoreArchive(other, data.filePath(QStringLiteral("out"))));
    EXPECT_EQ(data.readFile(QStringLiteral("out/a.txt")), QByteArray("abc"));
}

TEST(BackupArchive, FileListComesFirstIsCountedOutListedAndNeverRestored) {
    TempDataFolder data;
    const QString one = writeTimed(data, QStringLiteral("tarvolin.ini"), "[Zvuk]\r\nHrat=1\r\n");
    const QString two = writeTimed(data, QStringLiteral("stav.ini"), QByteArray());
    const QString archive = data.filePath(QStringLiteral("zaloha.bck"));

    Recorder r;
    r.backup.setSaveFileID(true);
    r.backup.setBackupTitle(QStringLiteral("s listem"));
    ASSERT_TRUE(r.backup.BackupFiles({one, two, one}, archive));

    const QByteArray list = stored(one) + "\t" + QByteArray::number(kPackedTime) + "=16\r\n" + stored(two) +
                            "\t" + QByteArray::number(kPackedTime) + "=0\r\n";
    const QByteArray bytes = readAll(archive);
    Layout start;
    start.header("s listem", 16 + list.size(), 2).counted("FILE:LIST");
    ASSERT_TRUE(bytes.startsWith(start.bytes()));
    // The list's own time is its temporary file's: a valid time of today.
    const qint32 listTime = qFromLittleEndian<qint32>(bytes.constData() + start.bytes().size());
    EXPECT_EQ(DosFileTime::toDateTime(listTime).date(), QDate::currentDate());
    Layout rest;
    rest.signature()
        .compressed(list, 1)
        .segmentEnd()
        .file(stored(one), kPackedTime, "[Zvuk]\r\nHrat=1\r\n")
        .entry(stored(two), kPackedTime)
        .signature()
        .segmentEnd()
        .end();
    EXPECT_EQ(bytes.mid(start.bytes().size() + 4), rest.bytes());

    // The listing decodes the list with the restore's own segment reading; a cancel meant for an
    // operation does not cut it short.
    r.backup.Cancel();
    QStringList lines;
    EXPECT_EQ(r.backup.ReadArchiveInfo(archive, &lines), QStringLiteral("s listem"));
    EXPECT_EQ(r.backup.FileCount(), 2);
    EXPECT_EQ(r.backup.TotalSize(), 16 + list.size());
    EXPECT_EQ(lines, TextCodec::decodeLines(list));

    const QString target = data.filePath(QStringLiteral("obnova"));
    ASSERT_TRUE(r.backup.RestoreArchive(archive, target));
    EXPECT_EQ(QDir(target).entryList(QDir::Files, QDir::Name), QStringList({"stav.ini", "tarvolin.ini"}));
}

TEST(BackupArchive, VolumesSwitchInsideAFileBelowTheThresholdAndAreAskedForOnlyWhenMissing) {
    TempDataFolder data;
    const QByteArray noise = randomBytes(3'000'000, 11);
    const QString big = writeTimed(data, QStringLiteral("big.bin"), noise);
    const QString small = writeTimed(data, QStringLiteral("small.txt"), "konec");
    const QString archive = data.filePath(QStringLiteral("zaloha/Zalohatarvolin.bck"));
    QDir().mkpath(data.filePath(QStringLiteral("zaloha")));

    Recorder r;
    QList<quint16> asked;
    r.backup.OnNeedDisk = [&](quint16 disk, bool&) { asked << disk; };
    r.backup.setMaxSize(1'400'000);
    ASSERT_TRUE(r.backup.BackupFiles({big, small}, archive));
    EXPECT_EQ(asked, QList<quint16>({2, 3}));
    const QByteArray first = readAll(archive);
    const QByteArray second = readAll(data.filePath(QStringLiteral("zaloha/Zalohatarvolin.002")));
    const QByteArray third = readAll(data.filePath(QStringLiteral("zaloha/Zalohatarvolin.003")));
    ASSERT_FALSE(third.isEmpty());

    // Every block of volume 1 begins below 1 383 516 bytes, and the next one would not have.
    const qsizetype dataStart = Layout().header("", 0, 0).entry(stored(big), 0).bytes().size();
    ASSERT_EQ(first.mid(dataStart, 4), QByteArray("EC2\0", 4));
    qsizetype at = dataStart + 4;
    for (qint32 length; (length = qFromLittleEndian<qint32>(first.constData() + at)) != 0;) {
        EXPECT_LT(at, 1'383'516);
        EXPECT_EQ(length, -16384);
        at += 4 + 16384;
    }
    EXPECT_GE(at, 1'383'516);
    EXPECT_EQ(first.mid(at), Layout().segmentEnd().counted("NEXT:DISK002").bytes());
    EXPECT_TRUE(second.startsWith(QByteArray("EC2\0", 4)));
    EXPECT_TRUE(second.endsWith(Layout().segmentEnd().counted("NEXT:DISK003").bytes()));
    EXPECT_TRUE(third.startsWith(QByteArray("EC2\0", 4)));
    EXPECT_TRUE(third.endsWith(Layout().file(stored(small), kPackedTime, "konec").end().bytes()));

    // The volumes beside the first are read without a question; a missing one is asked for.
    asked.clear();
    const QString target = data.filePath(QStringLiteral("obnova"));
    QList<qint64> written;
    r.backup.OnFileRestored = [&](const QString&, QIODevice& stream) { written << stream.pos(); };
    ASSERT_TRUE(r.backup.RestoreArchive(archive, target));
    EXPECT_TRUE(asked.isEmpty());
    // Once after each part of the big file, once after the small one.
    ASSERT_EQ(written.size(), 4);
    EXPECT_EQ(written[2], noise.size());
    EXPECT_EQ(written[3], 5);
    EXPECT_EQ(readAll(target + QStringLiteral("/big.bin")), noise);
    EXPECT_EQ(QFileInfo(target + QStringLiteral("/big.bin")).lastModified(), kFileTime);

    const QString moved = data.filePath(QStringLiteral("elsewhere.003"));
    ASSERT_TRUE(QFile::rename(data.filePath(QStringLiteral("zaloha/Zalohatarvolin.003")), moved));
    r.backup.OnNeedDisk = [&](quint16 disk, bool& go) {
        asked << disk;
        if (asked.size() == 1)
            return; // asked again while it is still missing
        go = QFile::rename(moved, data.filePath(QStringLiteral("zaloha/Zalohatarvolin.003")));
    };
    QDir(target).removeRecursively();
    ASSERT_TRUE(r.backup.RestoreArchive(archive, target));
    EXPECT_EQ(asked, QList<quint16>({3, 3}));
    EXPECT_EQ(readAll(target + QStringLiteral("/small.txt")), QByteArray("konec"));
    EXPECT_TRUE(r.backup.VerifyArchive(archive)) << r.backup.lastErrorText().toStdString();
}

TEST(BackupArchive, EveryRestoreModeByExistenceAndTime) {
    TempDataFolder data;
    const QString archive = data.filePath(QStringLiteral("modes.bck"));
    writeAll(archive, Layout()
                          .header("", 9, 3)
                          .file("c:\\prog\\missing", kPackedTime, "new")
                          .file("c:\\prog\\older", kPackedTime, "new")
                          .file("c:\\prog\\newer", kPackedTime, "new")
                          .end()
                          .bytes());
    struct Case {
        TRestoreMode mode;
        bool missing, older, newer;
    };
    const Case cases[] = {{rmAll, true, true, true},
                          {rmNoOverwrite, true, false, false},
                          {rmNewer, true, true, false},
                          {rmExisting, false, true, true},
                          {rmExistingNewer, false, true, false}};
    for (const Case& c : cases) {
        const QString target = data.filePath(QStringLiteral("mode%1").arg(int(c.mode)));
        writeTimed(data, QStringLiteral("mode%1/older").arg(int(c.mode)), "old", kFileTime.addSecs(-2));
        writeTimed(data, QStringLiteral("mode%1/newer").arg(int(c.mode)), "old", kFileTime.addSecs(2));
        Recorder r;
        r.backup.setRestoreMode(c.mode);
        ASSERT_TRUE(r.backup.RestoreArchive(archive, target));
        SCOPED_TRACE(int(c.mode));
        EXPECT_EQ(readAll(target + QStringLiteral("/missing")), c.missing ? QByteArray("new") : QByteArray());
        EXPECT_EQ(readAll(target + QStringLiteral("/older")),
                  c.older ? QByteArray("new") : QByteArray("old"));
        EXPECT_EQ(readAll(target + QStringLiteral("/newer")),
                  c.newer ? QByteArray("new") : QByteArray("old"));
        if (c.older) {
            EXPECT_EQ(QFileInfo(target + QStringLiteral("/older")).lastModified(), kFileTime);
        }
    }
}

TEST(BackupArchive, TargetsOriginalPlaceWithoutCaseElsewhereWithAndWithoutTheFullPath) {
    TempDataFolder data;
    const QString station = data.makeFolder(QStringLiteral("Operator/Tarvolin"));
    data.makeFolder(QStringLiteral("Operator/Tarvolin/Vysledky"));
    const QByteArray home = TextCodec::encode(station.toLower());
    const QString archive = data.filePath(QStringLiteral("t.bck"));
    writeAll(archive, Layout()
                          .header("", 6, 3)
                          .file(home + "/stav.ini", kPackedTime, "stav")
                          .file(home + "/vysledky/kara1", kPackedTime, "k1")
                          .file("c:\\prog\\vysledky\\kara2", kPackedTime, "k2")
                          .end()
                          .bytes());

    Recorder r;
    r.backup.setDataFolder(station);
    // A Windows station's name has no original place here; the rest returns, folders found
    // without regard to case.
    EXPECT_FALSE(r.backup.RestoreArchive(archive, QString()));
    EXPECT_EQ(r.errors, QList<int>({1}));
    EXPECT_TRUE(r.messages.value(0).contains(QStringLiteral("c:\\prog\\vysledky\\kara2")));
    EXPECT_EQ(readAll(station + QStringLiteral("/stav.ini")), QByteArray("stav"));
    EXPECT_EQ(readAll(station + QStringLiteral("/Vysledky/kara1")), QByteArray("k1"));
    EXPECT_FALSE(QFileInfo::exists(station + QStringLiteral("/vysledky")));

    const QString flat = data.filePath(QStringLiteral("flat"));
    ASSERT_TRUE(r.backup.RestoreArchive(archive, flat));
    EXPECT_EQ(QDir(flat).entryList(QDir::Files, QDir::Name), QStringList({"kara1", "kara2", "stav.ini"}));

    r.backup.setRestoreFullPath(true);
    const QString full = data.filePath(QStringLiteral("full"));
    ASSERT_TRUE(r.backup.RestoreArchive(archive, full));
    EXPECT_EQ(readAll(full + QStringLiteral("/prog/vysledky/kara2")), QByteArray("k2"));
    EXPECT_EQ(readAll(full + QLatin1Char('/') + QString::fromLatin1(home).mid(1) +
                      QStringLiteral("/vysledky/kara1")),
              QByteArray("k1"));
}

TEST(BackupArchive, AStationMovesToAnotherFolderWithItsSubFolders) {
    TempDataFolder data;
    writeTimed(data, QStringLiteral("old/tarvolin.ini"), "ini");
    writeTimed(data, QStringLiteral("old/vysledky/kara1"), "k1");
    const QString archive = data.filePath(QStringLiteral("move.bck"));
    Recorder r;
    ASSERT_TRUE(r.backup.BackupFiles({data.filePath(QStringLiteral("old/tarvolin.ini")),
                                      data.filePath(QStringLiteral("old/vysledky/*.*"))},
                                     archive));
    // The new station's folders are found without regard to case.
    const QString station = data.makeFolder(QStringLiteral("new/Vysledky"));
    r.backup.setDataFolder(data.filePath(QStringLiteral("new")));
    ASSERT_TRUE(r.backup.RestoreArchive(archive, QString()));
    EXPECT_EQ(data.readFile(QStringLiteral("new/tarvolin.ini")), QByteArray("ini"));
    EXPECT_EQ(readAll(station + QStringLiteral("/kara1")), QByteArray("k1"));
    ASSERT_TRUE(r.backup.RestoreArchive(archive, data.filePath(QStringLiteral("jinam"))));
    EXPECT_EQ(data.readFile(QStringLiteral("jinam/vysledky/kara1")), QByteArray("k1"));
    EXPECT_EQ(data.readFile(QStringLiteral("jinam/tarvolin.ini")), QByteArray("ini"));
}

TEST(BackupArchive, NoRestoreWritesOutsideItsFolderAndTheRestGoesOn) {
    TempDataFolder data;
    const QString station = data.makeFolder(QStringLiteral("station"));
    const QString outside = data.makeFolder(QStringLiteral("outside"));
    const QString target = data.makeFolder(QStringLiteral("target"));
    ASSERT_TRUE(QFile::link(outside, target + QStringLiteral("/link")));
    ASSERT_TRUE(QFile::link(outside + QStringLiteral("/victim"), target + QStringLiteral("/filelink")));
    const QByteArray out = TextCodec::encode(outside.toLower());
    const QByteArray home = TextCodec::encode(station.toLower());

    Layout hostile;
    hostile.header("", 0, 9)
        .file("c:\\..\\..\\" + out.mid(1) + "/evil1", kPackedTime, "x")
        .file(home + "/../outside/evil2", kPackedTime, "x")
        .file("c:\\\\" + out.mid(1) + "/evil3", kPackedTime, "x")
        .file("//" + out.mid(1) + "/evil4", kPackedTime, "x")
        .file("/link/evil5", kPackedTime, "x")
        .file("/filelink", kPackedTime, "x")
        .file("/x/..", kPackedTime, "x")
        .file(out + "/evil6", kPackedTime, "x")
        .file(home + "/good", kPackedTime, "good")
        .end();
    const QString archive = data.filePath(QStringLiteral("hostile.bck"));
    writeAll(archive, hostile.bytes());

    for (bool fullPath : {true, false}) {
        Recorder r;
        r.backup.setRestoreFullPath(fullPath);
        EXPECT_FALSE(r.backup.RestoreArchive(archive, target));
        EXPECT_EQ(r.errors, QList<int>({1}));
        EXPECT_TRUE(QDir(outside).isEmpty()) << QDir(outside).entryList().join(u' ').toStdString();
        const QString good =
            fullPath ? QString(target + QLatin1Char('/') + QString::fromLatin1(home).mid(1)) : target;
        EXPECT_EQ(readAll(good + QStringLiteral("/good")), QByteArray("good"));
    }
    // To the original place only what lies inside the station's folder.
    Recorder r;
    r.backup.setDataFolder(station);
    EXPECT_FALSE(r.backup.RestoreArchive(archive, QString()));
    EXPECT_TRUE(QDir(outside).isEmpty());
    EXPECT_EQ(readAll(station + QStringLiteral("/good")), QByteArray("good"));
    EXPECT_EQ(r.messages.value(0).count(u'\n'), 8);
}

TEST(BackupArchive, CancelAndBrokenArchivesLeaveWholeFilesOnly) {
    TempDataFolder data;
    const QByteArray noise = randomBytes(100'000, 3);
    const QString first = writeTimed(data, QStringLiteral("src/a"), "first");
    const QString second = writeTimed(data, QStringLiteral("src/b"), noise);
    const QString archive = data.filePath(QStringLiteral("c.bck"));

    // A backup cancelled after its first block leaves nothing: no archive that ends early, nothing
    // beside it.
    Recorder r;
    int blocks = 0;
    r.backup.OnProgress = [&](const QString& name, int, bool& go) {
        if (!name.isEmpty() && ++blocks == 2)
            go = false;
    };
    EXPECT_FALSE(r.backup.BackupFiles({first, second}, archive));
    EXPECT_FALSE(r.backup.Busy());
    EXPECT_EQ(QDir(data.path()).entryList(QDir::Files | QDir::Hidden), QStringList());

    // A restore cancelled inside the second file keeps the first whole and the old second file.
    ASSERT_TRUE(r.backup.BackupFiles({first, second}, archive));
    EXPECT_TRUE(ArchiveLayout::read(archive).whole());
    EXPECT_EQ(ArchiveLayout::read(archive).names(), QStringList({first, second}));
    // An archive that ends early, anywhere, is not whole.
    const QByteArray whole = readAll(archive);
    for (const qsizetype cut : {qsizetype(10), whole.size() / 2, whole.size() - 1}) {
        writeAll(data.filePath(QStringLiteral("cut.bck")), whole.left(cut));
        EXPECT_FALSE(ArchiveLayout::read(data.filePath(QStringLiteral("cut.bck"))).whole()) << cut;
    }
    const QString target = data.makeFolder(QStringLiteral("t"));
    writeAll(target + QStringLiteral("/b"), "old b");
    blocks = 0;
    EXPECT_FALSE(r.backup.RestoreArchive(archive, target));
    EXPECT_EQ(readAll(target + QStringLiteral("/a")), QByteArray("first"));
    EXPECT_EQ(readAll(target + QStringLiteral("/b")), QByteArray("old b"));

    // A block that does not inflate fails its file (compression error) and leaves the old one.
    r.backup.OnProgress = nullptr;
    QByteArray broken = Layout().header("", 3, 1).file("/x/b", kPackedTime, "abc").end().bytes();
    broken[broken.size() - 10] = char(broken[broken.size() - 10] ^ 0x55);
    writeAll(archive, broken);
    EXPECT_FALSE(r.backup.RestoreArchive(archive, target));
    EXPECT_EQ(r.errors.last(), 6);
    EXPECT_EQ(readAll(target + QStringLiteral("/b")), QByteArray("old b"));
    EXPECT_FALSE(r.backup.VerifyArchive(archive));

    // A segment passed over without its signature, an unreadable header, a block above 16 384 bytes
    // and a switch to a volume other than the next are raised.
    r.backup.setRestoreMode(rmExisting);
    const QByteArray noSignature = Layout().header("", 0, 1).entry("/x/none", 0).text("EC3\0").end().bytes();
    const QByteArray longBlock = Layout()
                                     .header("", 0, 1)
                                     .entry("/x/none", 0)
                                     .signature()
                                     .int32(16385)
                                     .text(QByteArray(16385, 'a'))
                                     .bytes();
    const QByteArray wrongVolume = Layout()
                                       .header("", 0, 1)
                                       .entry("/x/none", 0)
                                       .signature()
                                       .segmentEnd()
                                       .counted("NEXT:DISK001")
                                       .bytes();
    for (const QByteArray& bytes : {noSignature, longBlock, wrongVolume, QByteArray("\1\0")}) {
        writeAll(archive, bytes);
        EXPECT_THROW(r.backup.RestoreArchive(archive, target), BackupError);
        EXPECT_FALSE(r.backup.Busy());
        EXPECT_FALSE(r.backup.VerifyArchive(archive));
    }
    try {
        writeAll(archive, QByteArray("\1\0"));
        r.backup.RestoreArchive(archive, target);
    } catch (const BackupError& error) {
        EXPECT_EQ(error.code(), 3);
        EXPECT_EQ(error.message(), QStringLiteral("Cannot read archive"));
    }
}

TEST(BackupArchive, SourcesPatternsSubfoldersUnencodableNamesAndIncrementalMarks) {
    TempDataFolder data;
    writeTimed(data, QStringLiteral("Res/kara1"), "1");
    writeTimed(data, QStringLiteral("Res/kara2.txt"), "2");
    writeTimed(data, QStringLiteral("Res/.hidden"), "h");
    writeTimed(data, QStringLiteral("Res/sub/kara3.txt"), "3");
    writeTimed(data, QStringLiteral("Res/Жук.txt"), "4");
    const QString archive = data.filePath(QStringLiteral("Res/own.bck"));
    const QString res = data.filePath(QStringLiteral("res")); // matched without regard to case

    Recorder r;
    r.backup.setSaveFileID(true);
    r.backup.setRecordFile(data.filePath(QStringLiteral("zalohovano.txt")));
    r.backup.setBackupMode(bmIncremental);
    EXPECT_TRUE(r.backup.SetArchiveFlag());
    ASSERT_TRUE(
        r.backup.BackupFiles({res + QStringLiteral("\\*.* /s"), res + QStringLiteral("/kara1")}, archive));
    // The name windows-1250 cannot hold is reported and left out; the rest is archived.
    EXPECT_EQ(r.errors, QList<int>({1}));
    EXPECT_TRUE(r.messages.value(0).startsWith(QStringLiteral("Cannot read file\n")));
    EXPECT_TRUE(r.messages.value(0).contains(QStringLiteral("Жук.txt")));
    QStringList lines;
    r.backup.ReadArchiveInfo(archive, &lines);
    QStringList names;
    for (const QString& line : lines)
        names << line.section(u'\t', 0, 0).section(u'/', -2);
    EXPECT_EQ(names, QStringList({"sub/kara3.txt", "Res/.hidden", "Res/kara1", "Res/kara2.txt"}));

    // Marks are cleared by the backup: the next incremental one takes only the changed file.
    writeTimed(data, QStringLiteral("Res/kara1"), "1 changed");
    r.errors.clear();
    ASSERT_TRUE(r.backup.BackupFiles({res + QStringLiteral("/*.*")}, archive));
    r.backup.ReadArchiveInfo(archive, &lines);
    ASSERT_EQ(lines.size(), 1);
    EXPECT_TRUE(lines[0].contains(QStringLiteral("/Res/kara1\t")));
    EXPECT_EQ(r.backup.FileCount(), 1);

    // With every file unchanged an incremental backup holds none; a full one holds all.
    ASSERT_TRUE(r.backup.BackupFiles({res + QStringLiteral("/kara*")}, archive));
    r.backup.ReadArchiveInfo(archive);
    EXPECT_EQ(r.backup.FileCount(), 0);
    r.backup.setBackupMode(bmAll);
    EXPECT_TRUE(r.backup.SetArchiveFlag());
    ASSERT_TRUE(r.backup.BackupFiles({res + QStringLiteral("/kara*")}, archive));
    r.backup.ReadArchiveInfo(archive);
    EXPECT_EQ(r.backup.FileCount(), 2);
}

TEST(BackupArchive, NamesThatDifferOnlyInCaseAreTwoFilesThereAndBack) {
    TempDataFolder data;
    writeTimed(data, QStringLiteral("vysledky/Pepa kara1.txt"), "Pepa");
    writeTimed(data, QStringLiteral("vysledky/pepa kara1.txt"), "pepa");
    const QString archive = data.filePath(QStringLiteral("zaloha/case.bck"));
    QDir().mkpath(data.filePath(QStringLiteral("zaloha")));
    Recorder r;
    r.backup.setDataFolder(data.path());
    ASSERT_TRUE(r.backup.BackupFiles({data.filePath(QStringLiteral("vysledky/*.*"))}, archive));
    r.backup.ReadArchiveInfo(archive);
    EXPECT_EQ(r.backup.FileCount(), 2);
    const QStringList both = {"Pepa kara1.txt", "pepa kara1.txt"};
    ASSERT_TRUE(r.backup.RestoreArchive(archive, data.filePath(QStringLiteral("jinam"))));
    EXPECT_EQ(QDir(data.filePath(QStringLiteral("jinam/vysledky"))).entryList(QDir::Files, QDir::Name), both);
    // To the original place: each file returns under its own name, also when only one is there.
    QFile::remove(data.filePath(QStringLiteral("vysledky/Pepa kara1.txt")));
    writeTimed(data, QStringLiteral("vysledky/pepa kara1.txt"), "changed");
    ASSERT_TRUE(r.backup.RestoreArchive(archive, QString()));
    EXPECT_EQ(QDir(data.filePath(QStringLiteral("vysledky"))).entryList(QDir::Files, QDir::Name), both);
    EXPECT_EQ(data.readFile(QStringLiteral("vysledky/Pepa kara1.txt")), QByteArray("Pepa"));
    EXPECT_EQ(data.readFile(QStringLiteral("vysledky/pepa kara1.txt")), QByteArray("pepa"));
}

TEST(BackupArchive, StreamsCarryTheSameBytesAsFiles) {
    TempDataFolder data;
    const QString file = writeTimed(data, QStringLiteral("s.txt"), randomBytes(40000, 5));
    QBuffer written;
    written.open(QIODevice::WriteOnly);
    Recorder r;
    r.backup.setStreams(&written, nullptr);
    r.backup.setMaxSize(30000);
    ASSERT_TRUE(r.backup.BackupFiles({file}, QStringLiteral(":STREAM")));
    EXPECT_TRUE(written.data().contains("NEXT:DISK002"));
    QBuffer reading(&written.buffer());
    reading.open(QIODevice::ReadOnly);
    r.backup.setStreams(nullptr, &reading);
    ASSERT_TRUE(r.backup.RestoreArchive(QStringLiteral(":STREAM"), data.filePath(QStringLiteral("o"))));
    EXPECT_EQ(data.readFile(QStringLiteral("o/s.txt")), randomBytes(40000, 5));
    EXPECT_TRUE(written.data().contains("NEXT:DISK003"));
    EXPECT_EQ(r.backup.Version(), QStringLiteral("5.00"));
    EXPECT_EQ(TBackupFile::volumeName(QStringLiteral("/a.b/zaloha"), 12), QStringLiteral("/a.b/zaloha.012"));
}
