#pragma once

#include <QString>
#include <QStringList>
#include <QtGlobal>

// An archive's layout read without decoding a block: the names of its entries and whether it is
// whole, that is, every entry and every volume it announces is there and it ends with its end marker.
// Blocks are skipped, not read, so this is cheap enough to run on every click in a list of archives.
class ArchiveLayout {
public:
    // Limits no real archive comes near; beyond them a stored length is not trusted.
    static constexpr qint32 MaxTitleBytes = 1 << 20;
    static constexpr qint32 MaxNameBytes = 32 * 1024;

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
