#pragma once

#include <QHash>
#include <QString>

// Linux has no archive attribute. Its stand-in is a small file that records, for every file backed
// up, its size and last-write time at that backup; a file is "marked" (to be taken by an incremental
// backup) when it differs from its record or has none.
//
// The file: one line per file, "path<TAB>size<TAB>milliseconds since 1970", windows-1250, CR LF.
class BackupRecord {
public:
    // An empty path keeps no record: every file is marked and nothing is written.
    explicit BackupRecord(const QString& path = QString());
    // Where a station keeps its record: in its data folder.
    static QString pathIn(const QString& dataFolder);

    bool isMarked(const QString& filePath) const;
    // Clears the mark: the file as it is now is recorded.
    void clearMark(const QString& filePath);
    // Writes the record if a mark was cleared; false when the file could not be written.
    bool save();

private:
    struct Stamp {
        qint64 size = -1;
        qint64 modified = 0;
        bool operator==(const Stamp& other) const { return size == other.size && modified == other.modified; }
    };
    static Stamp stampOf(const QString& filePath);
    void load();

    QString m_path;
    QHash<QString, Stamp> m_stamps;
    bool m_changed = false;
};
