#pragma once

#include <QImage>

class TBestTwentyTable;

// A best-twenty table drawn as its list shows it (frame, the column header "#", "Jméno",
// "Nejkratší časy", twenty rows with grid lines), for where no window holds the lists: the sheets
// made from the table files alone.
class TablePictureDrawing {
public:
    static constexpr int Height = 449;
    // width: 355 for the men's list, 354 for the women's.
    static QImage draw(const TBestTwentyTable& table, int width);
};
