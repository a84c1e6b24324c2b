#include "rankings/TBestTwentyTable.h"

#include "base/MessageText.h"
#include "base/UserError.h"
#include "config/AtomicFile.h"
#include "config/DataFileReader.h"
#include "config/FileMessages.h"
#include "config/TextCodec.h"
#include "rankings/BestTwentyEntry.h"

#include <algorithm>

namespace {

// A table file is twenty short lines; anything this large is no table, and is not read whole.
constexpr qint64 MaxTableFileBytes = 1024 * 1024;

QList<BestTwentyRow> emptyRows() {
    QList<BestTwentyRow> rows;
    for (int rank = 1; rank <= TBestTwentyTable::RowCount; ++rank)
        rows << BestTwentyRow::empty(rank);
    return rows;
}

} // namespace

void TBestTwentyTable::load(const QString& path) {
    if (!read(path)) {
        // A fresh station: the table starts as the reset leaves it.
        m_path = path;
        m_rows = emptyRows();
        save();
    }
}

bool TBestTwentyTable::read(const QString& path) {
    const DataFileReader::Result read = DataFileReader::read(path, MaxTableFileBytes);
    if (read.status == DataFileReader::Status::Missing) {
        m_path = path;
        m_rows.clear();
        return false;
    }
    if (read.status != DataFileReader::Status::Read)
        throw UserError(read.error);
    const QByteArray& bytes = read.bytes;

    QList<BestTwentyRow> rows;
    for (const QString& line : TextCodec::decodeLines(bytes))
        rows << BestTwentyRow::fromLine(line);
    while (rows.size() < RowCount)
        rows << BestTwentyRow::empty(int(rows.size()) + 1);
    m_path = path;
    m_rows = rows;
    return true;
}

void TBestTwentyTable::save() const {
    QStringList lines;
    for (int i = 0; i < RowCount && i < m_rows.size(); ++i)
        lines << m_rows.at(i).toLine();
    QString reason;
    if (!AtomicFile::write(m_path, TextCodec::encodeLines(lines), &reason))
        throw UserError(cannotCreateFileMessage(m_path, reason));
}

QStringList TBestTwentyTable::rowsWithoutLapTime() const {
    QStringList named;
    for (int i = 0; i < m_rows.size(); ++i) {
        if (!m_rows.at(i).timeIsLapTime())
            named << QStringLiteral("řádek %1: \u201e%2\u201c")
                         .arg(i + 1)
                         .arg(shortenedForMessage(m_rows.at(i).toLine()));
    }
    return named;
}

bool TBestTwentyTable::offer(const QString& name, qint64 lapMs, const QString& date) {
    // A table not loaded has no row to give up.
    if (m_rows.isEmpty() || !BestTwentyEntry::takes(m_rows, lapMs))
        return false;
    // The last of the slowest rows: in an ordered table, row 20.
    int slowest = 0;
    for (int i = 1; i < m_rows.size(); ++i) {
        if (m_rows.at(i).timeValue() >= m_rows.at(slowest).timeValue())
            slowest = i;
    }
    m_rows.removeAt(slowest);
    m_rows.prepend(BestTwentyRow::entered(name, lapMs, date));
    return true;
}

void TBestTwentyTable::enterMoved(const BestTwentyRow& row) {
    if (!m_rows.isEmpty())
        m_rows.removeLast();
    m_rows.prepend(row);
}

void TBestTwentyTable::sortAndRenumber() {
    std::stable_sort(m_rows.begin(), m_rows.end(), [](const BestTwentyRow& a, const BestTwentyRow& b) {
        return a.timeValue() < b.timeValue();
    });
    renumber();
}

void TBestTwentyTable::setName(int index, const QString& name) {
    if (index >= 0 && index < m_rows.size())
        m_rows[index].setName(name);
}

void TBestTwentyTable::removeRow(int index) {
    if (index < 0 || index >= m_rows.size())
        return;
    m_rows.removeAt(index);
    m_rows << BestTwentyRow::empty(0);
    renumber();
}

BestTwentyRow TBestTwentyTable::takeRow(int index) {
    if (index < 0 || index >= m_rows.size())
        return {};
    const BestTwentyRow row = m_rows.at(index);
    m_rows[index] = BestTwentyRow::empty(index + 1);
    return row;
}

void TBestTwentyTable::reset() {
    m_rows = emptyRows();
}

void TBestTwentyTable::renumber() {
    for (int i = 0; i < m_rows.size(); ++i)
        m_rows[i].setRank(i + 1);
}
