#include "stats/ui/ColorBox.h"

#include <QPainter>
#include <QPixmap>

#include <utility>

namespace {

QIcon swatch(const QColor& color) {
    QPixmap pixmap(16, 12);
    pixmap.fill(color);
    QPainter painter(&pixmap);
    painter.setPen(Qt::black);
    painter.drawRect(pixmap.rect().adjusted(0, 0, -1, -1));
    return QIcon(pixmap);
}

} // namespace

ColorBox::ColorBox(QWidget* parent) : QComboBox(parent) {
    const std::pair<const char*, QRgb> colors[] = {
        {"černá", 0x000000},      {"kaštanová", 0x800000}, {"zelená", 0x008000},      {"olivová", 0x808000},
        {"námořnická", 0x000080}, {"fialová", 0x800080},   {"modrozelená", 0x008080}, {"šedá", 0x808080},
        {"stříbrná", 0xc0c0c0},   {"červená", 0xff0000},   {"limetková", 0x00ff00},   {"žlutá", 0xffff00},
        {"modrá", 0x0000ff},      {"purpurová", 0xff00ff}, {"azurová", 0x00ffff},     {"bílá", 0xffffff},
    };
    for (const auto& [name, rgb] : colors)
        addItem(swatch(QColor(rgb)), QString::fromUtf8(name), QColor(rgb));
    connect(this, &QComboBox::currentIndexChanged, this, [this] { emit colorChanged(color()); });
}

QColor ColorBox::color() const {
    return currentData().value<QColor>();
}

void ColorBox::setColor(const QColor& color) {
    int index = findData(color);
    if (index < 0) {
        addItem(swatch(color), color.name(), color);
        index = count() - 1;
    }
    setCurrentIndex(index);
}
