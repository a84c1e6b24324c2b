#pragma once

#include <QColor>
#include <QPixmap>
#include <QWidget>

#include <array>

// A number shown on seven-segment digits, with leading zeros to a fixed width: the race clock's
// minutes, seconds and milliseconds. Lit segments are navy; unlit ones stay faintly visible.
class SevenSegmentDisplay : public QWidget {
    Q_OBJECT
    Q_PROPERTY(int digitCount READ digitCount WRITE setDigitCount)
    Q_PROPERTY(int value READ value WRITE setValue)

public:
    explicit SevenSegmentDisplay(QWidget* parent = nullptr);

    int digitCount() const { return m_digitCount; }
    void setDigitCount(int count);

    int value() const { return m_value; }
    // Shows the value's last digitCount() decimal digits; negative values show as 0.
    void setValue(int value);

    // The digits as they are shown, for example "05" or "007".
    QString text() const;

    QColor litColor() const { return m_litColor; }
    QColor unlitColor() const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void paintDigit(class QPainter& painter, const QRectF& box, int digit) const;
    // The digit (0..9, anything else unlit) drawn once at this size on the window's colour.
    const QPixmap& digitPicture(const QSizeF& size, int digit);

    int m_digitCount = 2;
    int m_value = 0;
    QColor m_litColor = QColor(0x00, 0x00, 0x80);
    std::array<QPixmap, 11> m_pictures;
    QSizeF m_pictureSize;
    qreal m_pictureRatio = 0;
    QColor m_pictureBackground;
    QColor m_pictureUnlit;
};
