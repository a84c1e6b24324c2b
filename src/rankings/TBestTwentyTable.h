#pragma once

#include "rankings/BestTwentyRow.h"

#include <QList>
#include <QString>
#include <QStringList>

// One table of the twenty best laps and its file (BestTwentyFiles names them): windows-1250, one row per
// line, CR LF after every line. The rows stand in display order; every operation that changes them keeps
// ranks equal to positions, and the sorting ones keep the rows in ascending order of time.
//
// Nothing in a file is lost by reading it: lines with extra fields or a time that is no lap time
// are kept as they are, a short file is padded with empty rows, and only rows beyond the twentieth
// are dropped, at the next write.
class TBestTwentyTable {
public:
    static constexpr int RowCount = 20;

    // Reads the table from path. A missing file is created with 20 empty rows; a file that exists
    // but cannot be read throws UserError with the system's message, and the table is unchanged.
    void load(const QString& path);
    // Reads the table from path as load does, but a missing file is left missing: false, no rows.
    bool read(const QString& path);
    // Writes rows 1 to 20 to the file it was loaded from, whole or not at all; throws UserError.
    void save() const;
    const QString& path() const { return m_path; }

    const QList<BestTwentyRow>& rows() const { return m_rows; }
    int rowCount() const { return int(m_rows.size()); }
    // "řádek N: „text“" for each row whose time is no lap time (it sorts as an empty row).
    QStringList rowsWithoutLapTime() const;

    // The table's step of offering a kart's best lap: a lap the table takes (BestTwentyEntry) enters at
    // the top as a new row, and the slowest row leaves (of several equally slow, the last one). Not
    // sorted yet. Returns whether it entered.
    bool offer(const QString& name, qint64 lapMs, const QString& date);
    // A row moved in from the other table: at the top, and the last row leaves.
    void enterMoved(const BestTwentyRow& row);
    // Sorts by time, equal times keeping their order, and ranks the rows 1, 2, ...
    void sortAndRenumber();

    // Row operations by position (0-based); a position outside the table does nothing.
    void setName(int index, const QString& name);
    // The row leaves and an empty row is appended; ranks renumbered.
    void removeRow(int index);
    // The row as it was, which stays in place as an empty row.
    BestTwentyRow takeRow(int index);
    // Twenty empty rows ranked 1 to 20.
    void reset();

private:
    void renumber();

    QString m_path;
    QList<BestTwentyRow> m_rows;
};
