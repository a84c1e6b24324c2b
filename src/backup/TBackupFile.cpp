#include "backup/TBackupFile.h"

#include "backup/ArchiveLayout.h"
#include "backup/BackupRecord.h"
#include "backup/BlockCodec.h"
#include "backup/DosFileTime.h"
#include "backup/RestoreTarget.h"
#include "config/DataFolder.h"
#include "config/TextCodec.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QTemporaryFile>
#include <QtEndian>

#include <algorithm>
#include <cstdio>
#include <limits>

namespace {

const QByteArray kSignature("EC2\0", 4);
const QByteArray kFileList("FILE:LIST");
const QByteArray kSwitchPrefix("NEXT:DISK");
constexpr int kSwitchLength = 12;
// Room kept on a volume for one more block: its length and a block that did not compress.
constexpr qint64 kVolumeReserve = 16384 + 100;
// A file-ID listing longer than this is not trusted.
constexpr int kMaxListingBytes = 32 << 20;
constexpr int kMaxPathsInMessage = 20;

// A read that came short or a layout the format does not allow; code 3 or 5.
struct ReadFailure {
    int code;
};
// The archive could not be written.
struct WriteFailure {};

int zlibLevel(TCompressionLevel level) {
    switch (level) {
    case clFastest:
        return 1;
    case clNone:
        return 0;
    case clDefault:
        return -1; // Z_DEFAULT_COMPRESSION
    case clMax:
        return 9;
    }
    return 1;
}

// The name an archived file is stored under: its absolute path, in lower case only where the file
// system ignores case.
QString storedName(const QString& path) {
#ifdef Q_OS_WIN
    return path.toLower();
#else
    return path;
#endif
}

QString wildcardFilter(const QString& filePart) {
    // "*.*" names every file, with or without a dot in its name.
    return filePart == QLatin1String("*.*") ? QStringLiteral("*") : filePart;
}

} // namespace

BackupError::BackupError(int code) : UserError(TBackupFile::errorMessage(code)), m_code(code) {}

struct TBackupFile::Listed {
    QString path;                // as on disk, for opening
    QByteArray stored;           // the name written into the archive
    QIODevice* device = nullptr; // the file-ID list, already open
    qint32 time = 0;
};

// The archive being written. Each volume of a file archive is written beside its final name and put
// in place only when the whole backup succeeded: a cancel, a full disk or a kill leaves the previous
// archive of that name as it was, and no archive that ends early.
struct TBackupFile::Output {
    QIODevice* device = nullptr;
    QTemporaryFile* file = nullptr; // the volume being written, one of volumes
    std::vector<std::pair<std::unique_ptr<QTemporaryFile>, QString>> volumes; // with their final names
    QString archiveName;
    qint64 volumeBytes = 0;

    void openVolume(const QString& finalName) {
        auto volume = std::make_unique<QTemporaryFile>(finalName + QStringLiteral(".XXXXXX"));
        if (!volume->open())
            throw WriteFailure{};
        // Readable as an archive written in place would be.
        const QFileInfo previous(finalName);
        volume->setPermissions(previous.exists() ? previous.permissions()
                                                 : QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                                       QFileDevice::ReadGroup | QFileDevice::ReadOther);
        file = volume.get();
        device = file;
        volumes.emplace_back(std::move(volume), finalName);
    }
    // Puts every volume in place, the first (the one a listing shows) last.
    bool commit() {
        for (auto volume = volumes.rbegin(); volume != volumes.rend(); ++volume) {
            const QString written = volume->first->fileName();
            volume->first->setAutoRemove(false);
            // Replaces the previous volume in one step where the system can (POSIX); elsewhere the
            // previous one goes first.
            if (std::rename(QFile::encodeName(written).constData(),
                            QFile::encodeName(volume->second).constData()) != 0 &&
                !(QFile::remove(volume->second) && QFile::rename(written, volume->second))) {
                volume->first->setAutoRemove(true);
                return false;
            }
        }
        return true;
    }
    void write(const char* data, qint64 size) {
        if (device->write(data, size) != size)
            throw WriteFailure{};
        volumeBytes += size;
    }
    void write(const QByteArray& bytes) { write(bytes.constData(), bytes.size()); }
    void writeInt32(qint32 value) {
        char bytes[4];
        qToLittleEndian(value, bytes);
        write(bytes, 4);
    }
    void close() {
        if (file) {
            const bool flushed = file->flush();
            file->close();
            if (!flushed)
                throw WriteFailure{};
        }
    }
};

struct TBackupFile::Input {
    QIODevice* device = nullptr;
    std::unique_ptr<QFile> file;
    QString archiveName;

    void read(char* data, qint64 size) {
        if (size < 0 || device->read(data, size) != size)
            throw ReadFailure{3};
    }
    QByteArray read(qint64 size) {
        QByteArray bytes(size, Qt::Uninitialized);
        read(bytes.data(), size);
        return bytes;
    }
    qint32 readInt32() {
        char bytes[4];
        read(bytes, 4);
        return qFromLittleEndian<qint32>(bytes);
    }
};

// The entry being restored: written beside its target and put in place once all its data has come,
// so that a broken archive or a cancel never leaves a half-written file where a whole one was.
struct TBackupFile::Pending {
    std::unique_ptr<QSaveFile> file;
    QByteArray memory; // the listing's file-ID list
    QString target;
    qint32 time = 0;
    bool active = false;     // an entry was begun (a switch record may continue it)
    bool decode = false;     // its blocks are decoded (restored, verified or listed)
    bool complete = false;   // its last segment ended with its end mark
    bool shortBlock = false; // a block shorter than 16 384 bytes was seen (it must be the last)
    qint64 size = 0;

    bool commit() {
        if (!file)
            return true;
        const bool done = file->commit();
        file.reset();
        if (done) {
            const QDateTime when = DosFileTime::toDateTime(time);
            QFile written(target);
            if (when.isValid() && written.open(QIODevice::ReadOnly))
                written.setFileTime(when, QFileDevice::FileModificationTime);
        }
        return done;
    }
    void discard() {
        if (file)
            file->cancelWriting();
        file.reset();
    }
};

// Busy for the whole operation, however it ends.
class TBackupFile::OperationScope {
public:
    explicit OperationScope(TBackupFile& owner) : m_owner(owner) {
        m_owner.m_busy = true;
        m_owner.m_continue = true;
        m_owner.m_error = 0;
        m_owner.m_errorText.clear();
        m_owner.m_refusedPaths.clear();
        m_owner.m_skippedPaths.clear();
        m_owner.m_verifyProblem.clear();
        m_owner.m_done = 0;
        m_owner.m_volume = 1;
    }
    ~OperationScope() { m_owner.m_busy = false; }

private:
    TBackupFile& m_owner;
};

QString TBackupFile::errorMessage(int code) {
    switch (code) {
    case 1:
        return QStringLiteral("Cannot read file");
    case 2:
        return QStringLiteral("Overwriting file failed");
    case 3:
        return QStringLiteral("Cannot read archive");
    case 4:
        return QStringLiteral("Cannot write to archive");
    case 5:
        return QStringLiteral("Invalid archive type");
    case 6:
        return QStringLiteral("Compression error");
    case 7:
        return QStringLiteral("Cannot create temporary file to save the file IDs");
    }
    return QString();
}

QString TBackupFile::volumeName(const QString& archiveName, int volume) {
    const QString digits = QStringLiteral("%1").arg(volume, 3, 10, QLatin1Char('0'));
    const int slash =
        std::max(archiveName.lastIndexOf(QLatin1Char('/')), archiveName.lastIndexOf(QLatin1Char('\\')));
    const int dot = archiveName.lastIndexOf(QLatin1Char('.'));
    if (dot > slash)
        return archiveName.left(dot + 1) + digits;
    return archiveName + QLatin1Char('.') + digits;
}

bool TBackupFile::fitsCodePage(const QString& text) {
    return TextCodec::decode(TextCodec::encode(text)) == text;
}

TBackupFile::TBackupFile()
    : m_plain(kBlockSize, Qt::Uninitialized), m_packed(kBlockSize, Qt::Uninitialized),
      m_codec(std::make_unique<BlockCodec>()) {}

TBackupFile::~TBackupFile() = default;

void TBackupFile::setBackupMode(TBackupMode mode) {
    m_backupMode = mode;
    if (mode == bmIncremental)
        m_setArchiveFlag = true;
}

void TBackupFile::setStreams(QIODevice* writeStream, QIODevice* readStream) {
    m_writeStream = writeStream;
    m_readStream = readStream;
}

int TBackupFile::CompressionRatio() const {
    if (m_total <= 0)
        return 0;
    // Tiny files grow by the block framing; a ratio below nothing says nothing to the operator.
    return int(std::max<qint64>(0, 100 - (m_written * 100) / m_total));
}

int TBackupFile::percentDone() const {
    if (m_total <= 0)
        return 0;
    return int(std::clamp<qint64>(m_done * 100 / m_total, 0, 100));
}

void TBackupFile::progress(const QString& fileName, int percent) {
    if (OnProgress)
        OnProgress(fileName, percent, m_continue);
}

void TBackupFile::letEventsRun() {
    if (m_letEventsRun && QCoreApplication::instance())
        QCoreApplication::processEvents();
}

void TBackupFile::fail(int code) {
    m_error = code;
    m_continue = false;
}

void TBackupFile::refuse(const QString& name) {
    m_error = 1;
    m_refusedPaths << name;
}

void TBackupFile::report() {
    if (m_error == 0)
        return;
    m_errorText = errorMessage(m_error);
    if (m_error == 1 && !m_refusedPaths.isEmpty()) {
        const QStringList shown = m_refusedPaths.mid(0, kMaxPathsInMessage);
        m_errorText += QLatin1Char('\n') + shown.join(QLatin1Char('\n'));
        if (m_refusedPaths.size() > shown.size())
            m_errorText += QStringLiteral("\n... (%1 more)").arg(m_refusedPaths.size() - shown.size());
    }
    if (OnError)
        OnError(m_error, m_errorText);
}

// ---- Writing

std::vector<TBackupFile::Listed> TBackupFile::expand(const QStringList& sources, const QString& archiveName,
                                                     const BackupRecord& record) {
    std::vector<Listed> list;
    QSet<QString> seen;
    const QString archive = QDir::cleanPath(QFileInfo(archiveName).absoluteFilePath());
    for (const QString& source : sources) {
        QString pattern = source.trimmed();
        // Only a trailing " /s" asks for subfolders: "/s" itself begins many a Linux path.
        const bool recurse = pattern.endsWith(QLatin1String(" /s"), Qt::CaseInsensitive);
        if (recurse)
            pattern = pattern.chopped(3).trimmed();
        pattern.replace(QLatin1Char('\\'), QLatin1Char('/'));
        pattern = QDir(pattern).isAbsolute() ? pattern : QDir::current().absoluteFilePath(pattern);
        const int slash = pattern.lastIndexOf(QLatin1Char('/'));
        const QString folder = DataFolder::resolve(QStringLiteral("/"), pattern.left(slash).mid(1));
        addFolder(folder, pattern.mid(slash + 1), recurse, archive, record, list, seen);
    }
    return list;
}

void TBackupFile::addFolder(const QString& folder, const QString& filePart, bool recurse,
                            const QString& archive, const BackupRecord& record, std::vector<Listed>& list,
                            QSet<QString>& seen) {
    const QDir dir(folder);
    if (recurse) {
        const QStringList subfolders =
            dir.entryList(QDir::Dirs | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot | QDir::NoSymLinks,
                          QDir::Name | QDir::IgnoreCase);
        for (const QString& sub : subfolders)
            addFolder(dir.filePath(sub), filePart, true, archive, record, list, seen);
    }
    const QStringList names = dir.entryList(
        {wildcardFilter(filePart)}, QDir::Files | QDir::Hidden | QDir::System, QDir::Name | QDir::IgnoreCase);
    for (const QString& name : names) {
        const QString path = QDir::cleanPath(dir.absoluteFilePath(name));
        // Names that differ only in letter case are different files here.
        if (seen.contains(path) || path == archive)
            continue;
        seen.insert(path);
        // A FIFO, a device or a socket has no end to read to (or blocks the opening): only regular
        // files are taken.
        if (!QFileInfo(path).isFile()) {
            m_skippedPaths << path;
            continue;
        }
        if (m_backupMode == bmIncremental && !record.isMarked(path))
            continue;
        const QString stored = storedName(path);
        if (!fitsCodePage(stored)) {
            refuse(path);
            continue;
        }
        list.push_back({path, TextCodec::encode(stored), nullptr, 0});
    }
}

bool TBackupFile::BackupFiles(const QStringList& sources, const QString& archiveName) {
    if (m_busy)
        return false;
    OperationScope scope(*this);
    m_total = 0;
    m_written = 0;
    BackupRecord record(m_recordFile);
    std::vector<Listed> files = expand(sources, archiveName, record);
    progress(QString(), 0);

    const bool done = writeArchive(files, archiveName, record);
    if (done && !record.save())
        m_error = m_error ? m_error : 4;
    progress(QString(), 100);
    m_busy = false;
    report();
    return done;
}

bool TBackupFile::writeArchive(std::vector<Listed>& files, const QString& archiveName, BackupRecord& record) {
    QStringList idLines;
    for (Listed& listed : files) {
        const QFileInfo info(listed.path);
        if (!info.exists())
            continue;
        m_total += info.size();
        listed.time = DosFileTime::fromDateTime(info.lastModified());
        if (m_saveFileID)
            idLines << QString::fromLatin1(listed.stored) + QLatin1Char('\t') + QString::number(listed.time) +
                           QLatin1Char('=') + QString::number(info.size());
    }
    const int count = int(files.size());

    QTemporaryFile idFile(QDir::tempPath() + QStringLiteral("/FIDXXXXXX"));
    if (m_saveFileID) {
        // The names are windows-1250 already; Latin-1 carries their bytes through unchanged.
        QByteArray text;
        for (const QString& line : idLines)
            text += line.toLatin1() + "\r\n";
        if (!idFile.open() || idFile.write(text) != text.size() || !idFile.flush() || !idFile.seek(0)) {
            fail(7);
            return false;
        }
        m_total += text.size();
        files.insert(files.begin(),
                     Listed{idFile.fileName(), kFileList, &idFile, DosFileTime::ofFile(idFile.fileName())});
    }

    Output out;
    out.archiveName = archiveName;
    try {
        if (archiveName == QLatin1String(":STREAM")) {
            out.device = m_writeStream;
            if (!out.device || !out.device->isWritable())
                throw WriteFailure{};
        } else {
            out.openVolume(archiveName);
        }
        const QByteArray title = TextCodec::encode(m_backupTitle);
        out.writeInt32(qint32(title.size()));
        out.write(title);
        // The field holds 31 bits; a larger total only makes the percentages of old readers coarse.
        out.writeInt32(qint32(std::min<qint64>(m_total, std::numeric_limits<qint32>::max())));
        out.writeInt32(qint32(count));

        for (const Listed& listed : files) {
            if (!m_continue)
                break;
            QFile data(listed.path);
            QIODevice* source = listed.device;
            if (!source) {
                if (!data.exists())
                    continue;
                // Replaced by something that is not a regular file since it was listed.
                if (!QFileInfo(listed.path).isFile()) {
                    m_skippedPaths << listed.path;
                    continue;
                }
                if (!data.open(QIODevice::ReadOnly)) {
                    m_refusedPaths << listed.path;
                    fail(1);
                    break;
                }
                source = &data;
            }
            out.writeInt32(qint32(listed.stored.size()));
            out.write(listed.stored);
            out.writeInt32(listed.device ? listed.time : DosFileTime::ofFile(listed.path));
            writeEntryData(*source, listed.device ? QString::fromLatin1(kFileList) : listed.path, out);
            if (m_continue && !listed.device && m_setArchiveFlag)
                record.clearMark(listed.path);
        }
        bool ended = false;
        if (m_continue) {
            out.writeInt32(0);
            ended = true;
        }
        out.close();
        if (ended && !out.commit())
            throw WriteFailure{};
        return ended;
    } catch (const WriteFailure&) {
        fail(4);
        if (out.file)
            out.file->close();
        return false;
    }
}

void TBackupFile::writeEntryData(QIODevice& file, const QString& shownName, Output& out) {
    while (writeSegment(file, shownName, out) && m_continue)
        switchOutputVolume(out);
}

// Writes one segment; true when the file has more for the next volume.
bool TBackupFile::writeSegment(QIODevice& file, const QString& shownName, Output& out) {
    const bool volumeStart = out.volumeBytes == 0;
    out.write(kSignature);
    m_written += 4;
    bool anyBlock = false;
    const int level = zlibLevel(m_compressionLevel);
    while (!file.atEnd() && m_continue) {
        // A fresh volume takes at least one block, however small the limit, so the backup ends.
        if (m_maxSize != 0 && out.volumeBytes >= m_maxSize - kVolumeReserve && !(volumeStart && !anyBlock))
            break;
        // Only a file's last block may be short, whatever pieces the device hands out.
        qint64 n = 0;
        for (qint64 got = 1; n < kBlockSize && got > 0; n += got) {
            got = file.read(m_plain.data() + n, kBlockSize - n);
            if (got < 0) {
                n = -1;
                break;
            }
        }
        if (n < 0) {
            m_refusedPaths << shownName;
            fail(1);
            break;
        }
        if (n == 0)
            break;
        m_done += n;
        int packedSize = 0;
        switch (m_codec->compress(level, m_plain.constData(), int(n), m_packed.data(), packedSize)) {
        case BlockCodec::Result::Compressed:
            out.writeInt32(packedSize);
            out.write(m_packed.constData(), packedSize);
            m_written += 4 + packedSize;
            break;
        case BlockCodec::Result::DoesNotFit:
            out.writeInt32(-qint32(n));
            out.write(m_plain.constData(), n);
            m_written += 4 + n;
            break;
        case BlockCodec::Result::Failed:
            fail(6);
            break;
        }
        if (!m_continue)
            break;
        anyBlock = true;
        letEventsRun();
        progress(shownName, percentDone());
    }
    out.writeInt32(0);
    return !file.atEnd() && m_continue;
}

void TBackupFile::switchOutputVolume(Output& out) {
    ++m_volume;
    if (m_volume > 999) {
        fail(4); // the switch record has room for three digits
        return;
    }
    out.writeInt32(kSwitchLength);
    out.write(kSwitchPrefix + QByteArray::number(m_volume).rightJustified(3, '0'));
    if (out.file) {
        out.close();
    }
    // Volumes lie beside each other in one folder; a handler may still ask for another medium.
    if (OnNeedDisk)
        OnNeedDisk(quint16(m_volume), m_continue);
    if (!m_continue)
        return;
    out.volumeBytes = 0;
    if (out.file)
        out.openVolume(volumeName(out.archiveName, m_volume));
}

// ---- Reading

bool TBackupFile::RestoreArchive(const QString& archiveName, const QString& targetFolder) {
    if (m_busy)
        return false;
    if (archiveName != QLatin1String(":STREAM") && !QFileInfo(archiveName).isFile())
        return false;
    RestoreTarget target(targetFolder, m_restoreFullPath, m_dataFolder);
    if (archiveName != QLatin1String(":STREAM"))
        target.setArchiveNames(ArchiveLayout::read(archiveName).names());
    QDir().mkpath(target.root());
    return readArchive(archiveName, &target, Reading::Restore);
}

bool TBackupFile::VerifyArchive(const QString& archiveName) {
    if (m_busy)
        return false;
    if (archiveName != QLatin1String(":STREAM") && !QFileInfo(archiveName).isFile()) {
        m_errorText = errorMessage(3);
        return false;
    }
    try {
        const bool ok = readArchive(archiveName, nullptr, Reading::Verify);
        if (!m_verifyProblem.isEmpty())
            m_errorText = m_verifyProblem;
        return ok && m_verifyProblem.isEmpty();
    } catch (const BackupError& error) {
        m_errorText = m_verifyProblem.isEmpty() ? error.message() : m_verifyProblem;
        return false;
    }
}

bool TBackupFile::readArchive(const QString& archiveName, const RestoreTarget* target, Reading reading) {
    OperationScope scope(*this);
    Input in;
    in.archiveName = archiveName;
    if (archiveName == QLatin1String(":STREAM")) {
        in.device = m_readStream;
        if (!in.device || !in.device->isReadable())
            throw BackupError(3);
    } else {
        in.file = std::make_unique<QFile>(archiveName);
        if (!in.file->open(QIODevice::ReadOnly))
            throw BackupError(3);
        in.device = in.file.get();
    }
    try {
        const qint32 titleLength = in.readInt32();
        if (titleLength < 0 || titleLength > ArchiveLayout::MaxTitleBytes)
            throw ReadFailure{3};
        in.read(titleLength);
        m_total = in.readInt32();
        m_count = in.readInt32();
    } catch (const ReadFailure&) {
        throw BackupError(3);
    }
    try {
        readEntries(in, target, reading);
    } catch (const ReadFailure& failure) {
        if (reading == Reading::Verify && m_verifyProblem.isEmpty())
            m_verifyProblem = failure.code == 3
                                  ? QStringLiteral("the archive ends too early")
                                  : QStringLiteral("a length or signature the format does not allow");
        throw BackupError(failure.code);
    }
    if (reading == Reading::Restore)
        progress(QString(), 100);
    m_busy = false;
    report();
    return m_error == 0 && m_continue;
}

void TBackupFile::readEntries(Input& in, const RestoreTarget* target, Reading reading) {
    Pending pending;
    int entries = 0;
    const auto finish = [&] {
        if (pending.active && pending.complete && !pending.commit())
            refuse(pending.target);
        pending.discard();
        pending = Pending();
    };
    while (m_continue) {
        const qint32 nameLength = in.readInt32();
        if (nameLength == 0)
            break;
        if (nameLength < 0 || nameLength > ArchiveLayout::MaxNameBytes)
            throw ReadFailure{5};
        const QByteArray name = in.read(nameLength);
        if (nameLength == kSwitchLength && name.startsWith(kSwitchPrefix)) {
            bool digits = false;
            const int wanted = name.mid(kSwitchPrefix.size()).toInt(&digits);
            // Only the next volume may follow: anything else would loop or skip data.
            if (!digits || wanted != m_volume + 1 || !pending.active || pending.complete == false)
                throw ReadFailure{5};
            switchInputVolume(in, wanted);
            if (!m_continue)
                break;
            pending.complete = readSegment(in, &pending, pending.decode, reading);
            segmentWritten(pending);
            continue;
        }
        finish();
        const qint32 time = in.readInt32();
        if (name != kFileList)
            ++entries;
        startEntry(in, TextCodec::decode(name), time, target, pending);
        pending.active = true;
        pending.complete = readSegment(in, &pending, pending.decode, reading);
        segmentWritten(pending);
    }
    if (m_continue)
        finish();
    else
        pending.discard();
    if (reading == Reading::Verify && m_continue) {
        if (!in.device->atEnd() && in.file)
            m_verifyProblem = QStringLiteral("bytes follow the end marker");
        else if (entries != m_count)
            m_verifyProblem =
                QStringLiteral("the header counts %1 files, the archive holds %2").arg(m_count).arg(entries);
    }
}

void TBackupFile::startEntry(Input&, const QString& name, qint32 time, const RestoreTarget* target,
                             Pending& pending) {
    pending.time = time;
    if (!target) {
        pending.decode = true; // verifying
        return;
    }
    if (name == QString::fromLatin1(kFileList))
        return;
    QString path = target->pathFor(name);
    if (path.isEmpty() || !target->staysInside(path)) {
        refuse(name);
        return;
    }
    const QFileInfo info(path);
    const bool exists = info.exists() || info.isSymLink();
    const qint32 theirs = exists ? DosFileTime::ofFile(path) : 0;
    bool restore = true;
    switch (m_restoreMode) {
    case rmAll:
        break;
    case rmNoOverwrite:
        restore = !exists;
        break;
    case rmNewer:
        restore = !exists || theirs < time;
        break;
    case rmExisting:
        restore = exists;
        break;
    case rmExistingNewer:
        restore = exists && theirs < time;
        break;
    }
    if (OnRestoreFile)
        OnRestoreFile(path, time, restore);
    if (!restore)
        return;
    const QString folder = QFileInfo(path).absolutePath();
    QDir().mkpath(folder);
    if (!QFileInfo(folder).isDir())
        return;
    pending.target = path;
    pending.file = std::make_unique<QSaveFile>(path);
    if (!pending.file->open(QIODevice::WriteOnly)) {
        pending.file.reset();
        refuse(path);
        m_continue = false;
        return;
    }
    pending.decode = true;
}

void TBackupFile::segmentWritten(Pending& pending) {
    if (pending.file && pending.complete && OnFileRestored)
        OnFileRestored(pending.target, *pending.file);
}

// Reads one segment into the pending entry (or past it); true when it ended with its end mark.
bool TBackupFile::readSegment(Input& in, Pending* pending, bool decode, Reading reading) {
    QIODevice* out = pending ? static_cast<QIODevice*>(pending->file.get()) : nullptr;
    const bool listing = reading == Reading::Listing;
    try {
        if (in.read(4) != kSignature)
            throw ReadFailure{5};
        while (m_continue || listing) {
            const qint32 length = in.readInt32();
            if (length == 0)
                return true;
            if (length > kBlockSize || length < -kBlockSize)
                throw ReadFailure{5};
            const int size = length < 0 ? -length : length;
            in.read(m_packed.data(), size);
            if (decode) {
                const char* plain = m_packed.constData();
                int plainSize = size;
                if (length > 0) {
                    if (!m_codec->decompress(m_packed.constData(), size, m_plain.data(), plainSize)) {
                        if (listing)
                            throw ReadFailure{5};
                        if (reading == Reading::Verify)
                            m_verifyProblem = QStringLiteral("a compressed block does not decode");
                        pending->discard();
                        fail(6);
                        return false;
                    }
                    plain = m_plain.constData();
                }
                if (reading == Reading::Verify && pending->shortBlock)
                    m_verifyProblem = QStringLiteral("a short block is not the last of its file");
                pending->shortBlock = pending->shortBlock || plainSize < kBlockSize;
                pending->size += plainSize;
                if (listing) {
                    if (pending->memory.size() > kMaxListingBytes)
                        throw ReadFailure{5};
                    pending->memory.append(plain, plainSize);
                }
                if (out) {
                    if (out->write(plain, plainSize) != plainSize) {
                        pending->discard();
                        refuse(pending->target);
                        fail(1);
                        return false;
                    }
                    m_done += plainSize;
                }
            }
            if (listing)
                continue; // a click in the list of archives reads it: no events run inside
            letEventsRun();
            if (out)
                progress(pending->target, percentDone());
        }
        return false;
    } catch (const ReadFailure&) {
        if (!out)
            throw;
        // The archive broke inside a file being restored: that file fails, and the restore ends.
        pending->discard();
        refuse(pending->target);
        fail(1);
        return false;
    }
}

void TBackupFile::switchInputVolume(Input& in, int wanted) {
    m_volume = wanted;
    if (!in.file)
        return; // a stream holds its volumes one after another
    in.file->close();
    const QString name = volumeName(in.archiveName, wanted);
    // The next volume is taken without a question when it lies beside the first.
    while (!QFileInfo::exists(name) && m_continue) {
        if (OnNeedDisk)
            OnNeedDisk(quint16(wanted), m_continue);
        else
            m_continue = false;
    }
    if (!m_continue)
        return;
    in.file = std::make_unique<QFile>(name);
    if (!in.file->open(QIODevice::ReadOnly))
        throw ReadFailure{3};
    in.device = in.file.get();
}

QString TBackupFile::ReadArchiveInfo(const QString& archiveName, QStringList* fileIds) {
    QString title;
    m_total = 0;
    m_count = 0;
    m_error = 0;
    m_errorText.clear();
    m_refusedPaths.clear();
    if (fileIds)
        fileIds->clear();
    const bool stream = archiveName == QLatin1String(":STREAM");
    if (!stream && !QFileInfo(archiveName).isFile())
        return title;
    Input in;
    in.archiveName = archiveName;
    if (stream) {
        in.device = m_readStream;
    } else {
        in.file = std::make_unique<QFile>(archiveName);
        if (in.file->open(QIODevice::ReadOnly))
            in.device = in.file.get();
    }
    if (!in.device || !in.device->isReadable()) {
        m_error = 3;
        report();
        return title;
    }
    try {
        const qint32 titleLength = in.readInt32();
        if (titleLength < 0 || titleLength > ArchiveLayout::MaxTitleBytes)
            throw ReadFailure{5};
        title = TextCodec::decode(in.read(titleLength));
        m_total = in.readInt32();
        m_count = in.readInt32();
        const qint32 nameLength = in.readInt32();
        if (nameLength > 0 && fileIds) {
            if (nameLength > ArchiveLayout::MaxNameBytes)
                throw ReadFailure{5};
            if (in.read(nameLength) == kFileList) {
                in.readInt32(); // the list's time
                Pending list;
                readSegment(in, &list, true, Reading::Listing);
                *fileIds = TextCodec::decodeLines(list.memory);
            }
        }
    } catch (const ReadFailure&) {
        m_error = 5;
        report();
    }
    return title;
}
