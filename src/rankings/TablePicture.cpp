#include "rankings/TablePicture.h"

#include <QLinearGradient>
#include <QPainter>

namespace {

// The gap between a cell's edge and its text.
constexpr int TextMargin = 3;

} // namespace

QFont TablePicture::font() {
    QFont font(QStringLiteral("MS Sans Serif"));
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(16);
    return font;
}

QPalette TablePicture::palette() {
    QPalette palette(QColor(0xef, 0xef, 0xef));
    palette.setColor(QPalette::Base, Qt::white);
    palette.setColor(QPalette::Text, Qt::black);
    palette.setColor(QPalette::ButtonText, Qt::black);
    palette.setColor(QPalette::Highlight, QColor(0x30, 0x8c, 0xc6));
    palette.setColor(QPalette::HighlightedText, Qt::white);
    // A list that is not the active window's keeps its highlight.
    palette.setColor(QPalette::Inactive, QPalette::Highlight, QColor(0x30, 0x8c, 0xc6));
    palette.setColor(QPalette::Inactive, QPalette::HighlightedText, Qt::white);
    return palette;
}

QImage TablePicture::draw(const TBestTwentyTable& table, Table which, const View& view) {
    const int w = width(which);
    const QPalette colours = palette();
    const QColor window = colours.color(QPalette::Window);
    QImage picture(w, Height, QImage::Format_RGB32);
    picture.fill(colours.color(QPalette::Base));
    QPainter painter(&picture);
    painter.setFont(font());

    const int inner = w - 2 * FrameWidth;
    const std::array<int, 3> lefts = {FrameWidth, FrameWidth + FixedColumnWidths[0],
                                      FrameWidth + FixedColumnWidths[0] + FixedColumnWidths[1]};
    const std::array<int, 3> widths = {FixedColumnWidths[0], FixedColumnWidths[1],
                                       inner - FixedColumnWidths[0] - FixedColumnWidths[1]};

    // The header: a light gradient, a darker line below, a faint line between the sections.
    const QRect header(FrameWidth, FrameWidth, inner, HeaderHeight);
    QLinearGradient gradient(header.topLeft(), header.bottomLeft());
    gradient.setColorAt(0, window.lighter(105));
    gradient.setColorAt(1, window.darker(104));
    painter.fillRect(header.adjusted(0, 0, 0, -1), gradient);
    painter.setPen(window.darker(140));
    painter.drawLine(header.bottomLeft(), header.bottomRight());
    const std::array<QString, 3> headings = {QStringLiteral("#"), QStringLiteral("Jméno"),
                                             QStringLiteral("Nejkratší časy")};
    for (int c = 0; c < 3; ++c) {
        const QRect section(lefts[c], header.top(), widths[c] - 1, HeaderHeight - 1);
        painter.setPen(colours.color(QPalette::ButtonText));
        painter.drawText(section.adjusted(TextMargin, 0, -TextMargin, 0), Qt::AlignCenter, headings[c]);
        if (c < 2) {
            painter.setPen(QColor(0, 0, 0, 40));
            painter.drawLine(section.right() + 1, section.top(), section.right() + 1, section.bottom());
        }
    }

    // The rows in view, each cell with its grid line on the right and at the bottom.
    const QColor grid = window.darker(120);
    const int bottom = Height - FrameWidth;
    for (int r = qMax(0, view.firstRow); r < table.rowCount(); ++r) {
        const int top = header.bottom() + 1 + (r - qMax(0, view.firstRow)) * RowHeight;
        if (top >= bottom)
            break;
        const BestTwentyRow& row = table.rows().at(r);
        const bool selected = r == view.selectedRow;
        const std::array<QString, 3> texts = {row.rank(), row.name(), row.time()};
        for (int c = 0; c < 3; ++c) {
            const QRect cell(lefts[c], top, widths[c] - 1, RowHeight - 1);
            if (selected)
                painter.fillRect(cell, colours.color(QPalette::Highlight));
            painter.setPen(colours.color(selected ? QPalette::HighlightedText : QPalette::Text));
            painter.drawText(cell.adjusted(TextMargin, 0, -TextMargin, 0), Qt::AlignLeft | Qt::AlignVCenter,
                             texts[c]);
            painter.setPen(grid);
            painter.drawLine(cell.right() + 1, cell.top(), cell.right() + 1, cell.bottom() + 1);
            painter.drawLine(cell.left(), cell.bottom() + 1, cell.right() + 1, cell.bottom() + 1);
        }
    }

    // The list's frame, drawn last over whatever reached the edge.
    painter.setPen(window.darker(130));
    painter.drawRect(0, 0, w - 1, Height - 1);
    return picture;
}
