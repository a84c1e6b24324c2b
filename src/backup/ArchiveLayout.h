#pragma once

#include <QString>
#include <QStringList>

// An archive's layout read without decoding a block: the names of its entries and whether it is
// whole, that is, every entry and every volume it announces is there and it ends with its end marker.
// Blocks are skipped, not read, so this is cheap enough to run on every click in a list of archives.
class ArchiveLayout {
public:
    // A missing or unreadable archive is not whole and has no names.
    static ArchiveLayout read(const QString& archiveName);

    // The stored names in archive order, the file-ID list left out; as far as the archive could be
    // read.
    const QStringList& names() const { return m_names; }
    bool whole() const { return m_whole; }

private:
    QStringList m_names;
    bool m_whole = false;
};
