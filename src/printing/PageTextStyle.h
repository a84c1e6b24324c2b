#pragma once

#include <QColor>
#include <QFont>
#include <QString>

// How a text is set on a page: the font, its size in page units either as the cell height (ascent
// plus descent) or as the character height (the cell less its internal leading, the em size), the
// style and the colour.
struct PageTextStyle {
    enum SizeKind { CellHeight, CharacterHeight };

    QString family = QStringLiteral("Times New Roman");
    int size = 0;
    SizeKind sizeKind = CharacterHeight;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    QColor color = Qt::black;

    static PageTextStyle cell(int height, const QColor& color) {
        PageTextStyle style;
        style.size = height;
        style.sizeKind = CellHeight;
        style.color = color;
        return style;
    }
    static PageTextStyle character(int height, const QColor& color) {
        PageTextStyle style;
        style.size = height;
        style.color = color;
        return style;
    }
    PageTextStyle withBold() const {
        PageTextStyle style = *this;
        style.bold = true;
        return style;
    }
    PageTextStyle withItalic() const {
        PageTextStyle style = *this;
        style.italic = true;
        return style;
    }
    PageTextStyle withUnderline() const {
        PageTextStyle style = *this;
        style.underline = true;
        return style;
    }

    // The font whose pixel size, with one pixel a page unit, gives the asked height: the character
    // height is the em size itself; a cell height is shared out by the font's own ascent and descent.
    QFont font() const;
};
