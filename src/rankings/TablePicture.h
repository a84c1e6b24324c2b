#pragma once

#include "rankings/BestTwentyTables.h"

#include <QColor>
#include <QFont>
#include <QImage>
#include <QPalette>

#include <array>

// The picture of one best-twenty table as the best-twenty window's list shows it: the list's frame,
// the column header "#", "Jméno", "Nejkratší časy" and the rows with their grid lines, at the list's
// size, in its font and colours. Every picture of a table is this one drawing (the window's JPEG
// files, the FTP upload, the best-twenty sheet and its preview, the command line), made without any
// window; the window's list takes its measures, font and colours from here, so what it shows and
// what is drawn stay alike.
class TablePicture {
public:
    using Table = BestTwentyTables::Table;

    static constexpr int Height = 449;
    static constexpr int FrameWidth = 1;
    static constexpr int HeaderHeight = 25;
    static constexpr int RowHeight = 21;
    // The rank's and the name's columns; the time's column takes the rest of the width.
    static constexpr std::array<int, 2> FixedColumnWidths = {34, 190};
    static int width(Table table) { return table == BestTwentyTables::Men ? 355 : 354; }

    static QFont font();
    // The list's colours: base, text, window (the header and grid lines are shades of it), highlight.
    static QPalette palette();

    // What the list shows of its rows: the highlighted row (none when negative) and the first row in
    // view, which is not the first one when the list is scrolled.
    struct View {
        int selectedRow = -1;
        int firstRow = 0;
    };

    static QImage draw(const TBestTwentyTable& table, Table which, const View& view);
    static QImage draw(const TBestTwentyTable& table, Table which) { return draw(table, which, View()); }
};
