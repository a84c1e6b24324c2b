#include "timing/ui/SignalLamp.h"

#include <QPainter>
#include <QRadialGradient>

SignalLamp::SignalLamp(QWidget* parent) : QWidget(parent) {
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
}

void SignalLamp::setColor(const QColor& color) {
    if (color == m_color)
        return;
    m_color = color;
    update();
}

void SignalLamp::setOn(bool on) {
    if (on == m_on)
        return;
    m_on = on;
    update();
}

QSize SignalLamp::sizeHint() const {
    return QSize(24, 24);
}

void SignalLamp::paintEvent(QPaintEvent*) {
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
