#pragma once

#include <QColor>
#include <QComboBox>

// A choice of the sixteen basic colours, each shown as a swatch with its name.
class ColorBox : public QComboBox {
    Q_OBJECT

public:
    explicit ColorBox(QWidget* parent = nullptr);

    QColor color() const;
    // A colour outside the list is added at its end.
    void setColor(const QColor& color);

signals:
    void colorChanged(const QColor& color);
};
