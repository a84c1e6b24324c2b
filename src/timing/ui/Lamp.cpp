#include "timing/ui/Lamp.h"

#include <QPainter>
#include <QRadialGradient>

Lamp::Lamp(QWidget* parent) : QWidget(parent) {
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
}

void Lamp::setColor(const QColor& color) {
    if (color == m_color)
        return;
    m_color = color;
    update();
}

void Lamp::setOn(bool on) {
    if (on == m_on)
        return;
    m_on = on;
    update();
}

QSize Lamp::sizeHint() const {
    return QSize(24, 24);
}

void Lamp::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const qreal side = qMin(width(), height()) - 2.0;
    const QRectF disc((width() - side) / 2, (height() - side) / 2, side, side);
    const QColor face = m_on ? m_color : m_color.darker(320);
    QRadialGradient shine(disc.center() - QPointF(side / 5, side / 5), side * 0.7);
    shine.setColorAt(0.0, m_on ? face.lighter(170) : face.lighter(140));
    shine.setColorAt(1.0, face);
    painter.setPen(QPen(palette().color(QPalette::Shadow), 1.0));
    painter.setBrush(shine);
    painter.drawEllipse(disc);
}
