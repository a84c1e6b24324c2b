#include "timing/ui/SplashArtwork.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QtMath>

namespace {

QPixmap blank(const QSize& size) {
    QPixmap pixmap(size);
    pixmap.fill(Qt::transparent);
    return pixmap;
}

} // namespace

namespace SplashArtwork {

QPixmap title(const QSize& size) {
    QPixmap pixmap = blank(size);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient fill(0, 0, 0, size.height());
    fill.setColorAt(0, QColor(0x1c, 0x3c, 0xb4));
    fill.setColorAt(1, QColor(0x08, 0x14, 0x5a));
    p.setPen(QPen(QColor(0xf0, 0xc0, 0x20), 3));
    p.setBrush(fill);
    p.drawRoundedRect(QRectF(QPointF(2, 2), QSizeF(size) - QSizeF(4, 4)), 18, 18);
    QFont font(QStringLiteral("Liberation Sans"));
    font.setBold(true);
    font.setItalic(true);
    font.setPixelSize(size.height() * 45 / 100);
    p.setFont(font);
    p.setPen(Qt::white);
    p.drawText(QRect(0, 0, size.width(), size.height() * 70 / 100), Qt::AlignCenter,
               QStringLiteral("Tarvolin"));
    font.setPixelSize(size.height() * 18 / 100);
    font.setItalic(false);
    p.setFont(font);
    p.setPen(QColor(0xf0, 0xc0, 0x20));
    p.drawText(QRect(0, size.height() * 60 / 100, size.width(), size.height() * 35 / 100), Qt::AlignCenter,
               QStringLiteral("v.2.0  –  měření času motokár"));
    return pixmap;
}

QPixmap kart(const QSize& size) {
    QPixmap pixmap = blank(size);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size.width() / 200.0, size.height() / 100.0);
    // Chassis and body.
    QPainterPath body;
    body.moveTo(20, 62);
    body.lineTo(60, 50);
    body.lineTo(150, 50);
    body.lineTo(185, 60);
    body.lineTo(185, 70);
    body.lineTo(20, 72);
    body.closeSubpath();
    p.setPen(QPen(QColor(0x60, 0x00, 0x00), 2));
    p.setBrush(QColor(0xd8, 0x20, 0x20));
    p.drawPath(body);
    // Driver: seat, body and helmet.
    p.setBrush(QColor(0x20, 0x40, 0xc0));
    p.drawRoundedRect(QRectF(88, 28, 30, 26), 6, 6);
    p.setBrush(QColor(0xf0, 0xf0, 0xf0));
    p.drawEllipse(QRectF(92, 8, 24, 24));
    p.setBrush(QColor(0x30, 0x30, 0x30));
    p.drawRect(QRectF(104, 15, 12, 7));
    // Wheels.
    p.setPen(QPen(QColor(0x10, 0x10, 0x10), 2));
    p.setBrush(QColor(0x30, 0x30, 0x30));
    p.drawEllipse(QRectF(28, 58, 30, 30));
    p.drawEllipse(QRectF(145, 58, 30, 30));
    p.setBrush(QColor(0xb0, 0xb0, 0xb0));
    p.drawEllipse(QRectF(37, 67, 12, 12));
    p.drawEllipse(QRectF(154, 67, 12, 12));
    return pixmap;
}

QPixmap flag(const QSize& size) {
    QPixmap pixmap = blank(size);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size.width() / 100.0, size.height() / 100.0);
    p.setPen(QPen(QColor(0xc0, 0xc0, 0xc0), 3));
    p.drawLine(QPointF(12, 8), QPointF(12, 96));
    const int rows = 5;
    const int columns = 6;
    for (int row = 0; row < rows; ++row) {
        for (int column = 0; column < columns; ++column) {
            const qreal x = 13 + column * 13;
            const qreal wave = 4 * qSin((column + row * 0.2) * 0.9);
            const QRectF cell(x, 10 + row * 10 + wave, 13, 10);
            p.fillRect(cell, (row + column) % 2 ? QColor(0x20, 0x20, 0x20) : Qt::white);
        }
    }
    return pixmap;
}

QPixmap stopwatch(const QSize& size) {
    QPixmap pixmap = blank(size);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size.width() / 100.0, size.height() / 100.0);
    p.setPen(QPen(QColor(0x60, 0x60, 0x60), 3));
    p.setBrush(QColor(0xc8, 0xc8, 0xc8));
    p.drawRect(QRectF(44, 4, 12, 10));
    p.setBrush(Qt::white);
    p.setPen(QPen(QColor(0xc0, 0xa0, 0x20), 6));
    p.drawEllipse(QRectF(12, 16, 76, 76));
    p.setPen(QPen(QColor(0x20, 0x20, 0x20), 2));
    for (int tick = 0; tick < 12; ++tick) {
        const qreal angle = tick * M_PI / 6;
        p.drawLine(QPointF(50 + 30 * qSin(angle), 54 - 30 * qCos(angle)),
                   QPointF(50 + 34 * qSin(angle), 54 - 34 * qCos(angle)));
    }
    p.setPen(QPen(QColor(0xd0, 0x10, 0x10), 3, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(50, 54), QPointF(70, 34));
    p.setBrush(QColor(0xd0, 0x10, 0x10));
    p.drawEllipse(QPointF(50, 54), 3, 3);
    return pixmap;
}

} // namespace SplashArtwork
