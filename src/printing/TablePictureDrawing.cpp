#include "printing/TablePictureDrawing.h"

#include "rankings/TBestTwentyTable.h"

#include <QFont>
#include <QPainter>

#include <array>

namespace {

constexpr int Frame = 2;
constexpr int HeaderHeight = 25;
constexpr int RowHeight = 21;
constexpr int RankWidth = 32;
constexpr int NameWidth = 190;
const QColor GridColour(0xd0, 0xd0, 0xd0);
const QColor HeaderColour(0xf0, 0xf0, 0xf0);

} // namespace

QImage TablePictureDrawing::draw(const TBestTwentyTable& table, int width) {
    QImage picture(width, Height, QImage::Format_RGB32);
    picture.fill(Qt::white);
    QPainter painter(&picture);
    QFont font(QStringLiteral("MS Sans Serif"));
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(16);
    painter.setFont(font);

    const int inner = width - 2 * Frame;
    const std::array<int, 3> lefts = {Frame, Frame + RankWidth, Frame + RankWidth + NameWidth};
    const std::array<int, 3> widths = {RankWidth, NameWidth, inner - RankWidth - NameWidth};
    const auto cellRect = [&](int column, int top, int height) {
        return QRect(lefts[column], top, widths[column], height);
    };

    painter.fillRect(QRect(Frame, Frame, inner, HeaderHeight), HeaderColour);
    const std::array<QString, 3> headings = {QStringLiteral("#"), QStringLiteral("Jméno"),
                                             QStringLiteral("Nejkratší časy")};
    painter.setPen(Qt::black);
    for (int c = 0; c < 3; ++c) {
        painter.drawText(cellRect(c, Frame, HeaderHeight).adjusted(4, 0, -4, 0),
                         Qt::AlignLeft | Qt::AlignVCenter, headings[c]);
        painter.setPen(Qt::gray);
        painter.drawLine(lefts[c] + widths[c] - 1, Frame, lefts[c] + widths[c] - 1, Frame + HeaderHeight - 1);
        painter.setPen(Qt::black);
    }
    painter.setPen(Qt::gray);
    painter.drawLine(Frame, Frame + HeaderHeight - 1, Frame + inner - 1, Frame + HeaderHeight - 1);

    const int rows = qMin(table.rowCount(), TBestTwentyTable::RowCount);
    for (int r = 0; r < rows; ++r) {
        const int top = Frame + HeaderHeight + r * RowHeight;
        const BestTwentyRow& row = table.rows().at(r);
        const std::array<QString, 3> texts = {row.rank(), row.name(), row.time()};
        for (int c = 0; c < 3; ++c) {
            painter.setPen(Qt::black);
            painter.drawText(cellRect(c, top, RowHeight).adjusted(4, 0, -4, 0),
                             Qt::AlignLeft | Qt::AlignVCenter, texts[c]);
            painter.setPen(GridColour);
            painter.drawLine(lefts[c] + widths[c] - 1, top, lefts[c] + widths[c] - 1, top + RowHeight - 1);
        }
        painter.drawLine(Frame, top + RowHeight - 1, Frame + inner - 1, top + RowHeight - 1);
    }

    // The sunken frame of the list.
    painter.setPen(Qt::gray);
    painter.drawLine(0, 0, width - 1, 0);
    painter.drawLine(0, 0, 0, Height - 1);
    painter.setPen(Qt::darkGray);
    painter.drawLine(1, 1, width - 2, 1);
    painter.drawLine(1, 1, 1, Height - 2);
    painter.setPen(Qt::white);
    painter.drawLine(0, Height - 1, width - 1, Height - 1);
    painter.drawLine(width - 1, 0, width - 1, Height - 1);
    painter.setPen(QColor(0xe0, 0xe0, 0xe0));
    painter.drawLine(1, Height - 2, width - 2, Height - 2);
    painter.drawLine(width - 2, 1, width - 2, Height - 2);
    return picture;
}
