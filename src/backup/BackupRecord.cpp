#include "backup/BackupRecord.h"

#include "config/AtomicFile.h"
#include "config/DataFileReader.h"
#include "config/TextCodec.h"

#include <QFileInfo>
#include <QStringList>

BackupRecord::BackupRecord(const QString& path) : m_path(path) {
    load();
}

QString BackupRecord::pathIn(const QString& dataFolder) {
    return dataFolder + QStringLiteral("/zalohovano.txt");
}

BackupRecord::Stamp BackupRecord::stampOf(const QString& filePath) {
    const QFileInfo info(filePath);
    return {info.size(), info.lastModified().toMSecsSinceEpoch()};
}

void BackupRecord::load() {
    if (m_path.isEmpty())
        return;
    // A record that cannot be read (or is a FIFO or a device in its place) marks every file: the
    // next incremental backup then takes them all, which loses nothing. A line per file of many
    // thousand kept races stays far below the bound.
    const DataFileReader::Result record = DataFileReader::read(m_path, 64 * 1024 * 1024);
    if (record.status != DataFileReader::Status::Read)
        return;
    for (const QString& line : TextCodec::decodeLines(record.bytes)) {
        const QStringList fields = line.split(QLatin1Char('\t'));
        if (fields.size() != 3)
            continue;
        bool sizeOk = false;
        bool timeOk = false;
        const Stamp stamp{fields[1].toLongLong(&sizeOk), fields[2].toLongLong(&timeOk)};
        if (sizeOk && timeOk)
            m_stamps.insert(fields[0], stamp);
    }
}

bool BackupRecord::isMarked(const QString& filePath) const {
    if (m_path.isEmpty())
        return true;
    const auto found = m_stamps.constFind(filePath);
    return found == m_stamps.constEnd() || !(*found == stampOf(filePath));
}

void BackupRecord::clearMark(const QString& filePath) {
    if (m_path.isEmpty())
        return;
    m_stamps.insert(filePath, stampOf(filePath));
    m_changed = true;
}

bool BackupRecord::save() {
    if (m_path.isEmpty() || !m_changed)
        return true;
    QStringList lines;
    for (auto it = m_stamps.constBegin(); it != m_stamps.constEnd(); ++it)
        lines << it.key() + QLatin1Char('\t') + QString::number(it->size) + QLatin1Char('\t') +
                     QString::number(it->modified);
    lines.sort();
    m_changed = false;
    return AtomicFile::write(m_path, TextCodec::encodeLines(lines));
}
