#pragma once

#include "base/UserError.h"

#include <QByteArray>
#include <QSet>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>
#include <vector>

class BackupRecord;
class QIODevice;
class RestoreTarget;

enum TBackupMode { bmAll, bmIncremental };
// In this order: zlib levels 1, 0, zlib's default and 9.
enum TCompressionLevel { clFastest, clNone, clDefault, clMax };
enum TRestoreMode { rmAll, rmNoOverwrite, rmNewer, rmExisting, rmExistingNewer };

// The two failures that end a restore at once and reach its caller instead of being reported: an
// archive whose header cannot be read (3), and a segment without its signature (5).
class BackupError : public UserError {
public:
    explicit BackupError(int code);
    int code() const { return m_code; }

private:
    int m_code;
};

// The backup archive: files packed in blocks of 16 384 bytes, each a zlib stream or stored as it is,
// optionally over several volumes, with an optional list of the files' names, times and sizes
// ("FILE:LIST") that a listing shows without unpacking. Memory stays at a few blocks whatever the
// sizes: files and archives are read and written block by block.
//
// The component shows nothing itself: a window or the command line answers its events.
class TBackupFile {
public:
    static constexpr int kBlockSize = 16384;
    // The English texts of the error codes 1 to 7.
    static QString errorMessage(int code);
    // The name of volume number (2, 3, ...): the archive's extension replaced by the three digits.
    static QString volumeName(const QString& archiveName, int volume);
    // Whether windows-1250 can hold the text; a path it cannot is not archived.
    static bool fitsCodePage(const QString& text);

    using TPercentage = int;
    using TProgressEvent = std::function<void(const QString& Filename, TPercentage Percent, bool& Continue)>;
    using TNeedDiskEvent = std::function<void(quint16 DiskID, bool& Continue)>;
    using TRestoreFileEvent = std::function<void(QString& Filename, qint32 FA, bool& DoRestore)>;
    using TFileRestoredEvent = std::function<void(const QString& Filename, QIODevice& Stream)>;
    using TBackupErrorEvent = std::function<void(int Error, const QString& ErrString)>;

    TBackupFile();
    ~TBackupFile();
    TBackupFile(const TBackupFile&) = delete;
    TBackupFile& operator=(const TBackupFile&) = delete;

    QString Version() const { return QStringLiteral("5.00"); }
    QString BackupTitle() const { return m_backupTitle; }
    void setBackupTitle(const QString& title) { m_backupTitle = title; }
    TBackupMode BackupMode() const { return m_backupMode; }
    // Incremental backups clear the marks of what they took.
    void setBackupMode(TBackupMode mode);
    TCompressionLevel CompressionLevel() const { return m_compressionLevel; }
    void setCompressionLevel(TCompressionLevel level) { m_compressionLevel = level; }
    TRestoreMode RestoreMode() const { return m_restoreMode; }
    void setRestoreMode(TRestoreMode mode) { m_restoreMode = mode; }
    qint64 MaxSize() const { return m_maxSize; }
    void setMaxSize(qint64 bytes) { m_maxSize = bytes; }
    bool SetArchiveFlag() const { return m_setArchiveFlag; }
    void setSetArchiveFlag(bool on) { m_setArchiveFlag = on; }
    bool RestoreFullPath() const { return m_restoreFullPath; }
    void setRestoreFullPath(bool on) { m_restoreFullPath = on; }
    bool SaveFileID() const { return m_saveFileID; }
    void setSaveFileID(bool on) { m_saveFileID = on; }

    // The station's data folder: a restore to the original place writes only inside it.
    void setDataFolder(const QString& folder) { m_dataFolder = folder; }
    // The file that stands in for the archive attribute (see BackupRecord); empty: every file is
    // marked and no mark is cleared.
    void setRecordFile(const QString& path) { m_recordFile = path; }
    // Whether pending window events run after every block (on for windows).
    void setLetEventsRun(bool on) { m_letEventsRun = on; }
    // The devices used for the archive name ":STREAM". Volumes then follow each other in the same
    // device.
    void setStreams(QIODevice* writeStream, QIODevice* readStream);

    // Packs the files the source patterns name; true when the end marker was written.
    bool BackupFiles(const QStringList& sources, const QString& archiveName);
    // Unpacks into targetFolder, or with an empty folder to the files' stored places inside the data
    // folder; true without error and cancellation. Throws BackupError for an unreadable header and
    // for a segment passed over without its signature.
    bool RestoreArchive(const QString& archiveName, const QString& targetFolder);
    // The title; fills TotalSize, FileCount and, when wanted and present, the file-ID lines.
    QString ReadArchiveInfo(const QString& archiveName, QStringList* fileIds = nullptr);
    // Reads every volume and decodes every block without writing anything; false with the reason in
    // lastErrorText() when the archive breaks its layout or a block does not decode.
    bool VerifyArchive(const QString& archiveName);

    int CompressionRatio() const;
    bool Busy() const { return m_busy; }
    void Cancel() { m_continue = false; }
    qint64 TotalSize() const { return m_total; }
    int FileCount() const { return m_count; }
    // The code and full text of the last reported error (0 and empty after a clean operation).
    int lastError() const { return m_error; }
    const QString& lastErrorText() const { return m_errorText; }
    // What the last backup left out because it is not a regular file (a FIFO, a device, a socket).
    const QStringList& SkippedFiles() const { return m_skippedPaths; }

    TProgressEvent OnProgress;
    TNeedDiskEvent OnNeedDisk;
    TRestoreFileEvent OnRestoreFile;
    TFileRestoredEvent OnFileRestored;
    TBackupErrorEvent OnError;

private:
    struct Listed;
    struct Output;
    struct Input;
    struct Pending;
    class OperationScope;
    // Listing: the file-ID list decoded into memory, without events, progress or a cancel.
    enum class Reading { Restore, Verify, Listing };

    std::vector<Listed> expand(const QStringList& sources, const QString& archiveName,
                               const BackupRecord& record);
    void addFolder(const QString& folder, const QString& filePart, bool recurse, const QString& archive,
                   const BackupRecord& record, std::vector<Listed>& list, QSet<QString>& seen);
    bool writeArchive(std::vector<Listed>& files, const QString& archiveName, BackupRecord& record);
    void writeEntryData(QIODevice& file, const QString& shownName, Output& out);
    bool writeSegment(QIODevice& file, const QString& shownName, Output& out);
    void switchOutputVolume(Output& out);

    bool readArchive(const QString& archiveName, const RestoreTarget* target, Reading reading);
    void readEntries(Input& in, const RestoreTarget* target, Reading reading);
    void startEntry(Input& in, const QString& name, qint32 time, const RestoreTarget* target,
                    Pending& pending);
    bool readSegment(Input& in, Pending* pending, bool decode, Reading reading);
    void segmentWritten(Pending& pending);
    void switchInputVolume(Input& in, int wanted);
    void refuse(const QString& name);

    void progress(const QString& fileName, int percent);
    int percentDone() const;
    void letEventsRun();
    void fail(int code);
    void report();

    QString m_backupTitle;
    TBackupMode m_backupMode = bmAll;
    TCompressionLevel m_compressionLevel = clFastest;
    TRestoreMode m_restoreMode = rmAll;
    qint64 m_maxSize = 0;
    bool m_setArchiveFlag = false;
    bool m_restoreFullPath = false;
    bool m_saveFileID = false;
    QString m_dataFolder;
    QString m_recordFile;
    bool m_letEventsRun = true;
    QIODevice* m_writeStream = nullptr;
    QIODevice* m_readStream = nullptr;

    bool m_continue = false;
    bool m_busy = false;
    int m_error = 0;
    QString m_errorText;
    QString m_verifyProblem;
    QStringList m_refusedPaths;
    QStringList m_skippedPaths;
    qint64 m_total = 0;
    int m_count = 0;
    qint64 m_done = 0;
    qint64 m_written = 0;
    int m_volume = 1;
    QByteArray m_plain;
    QByteArray m_packed;
    std::unique_ptr<class BlockCodec> m_codec;
};
