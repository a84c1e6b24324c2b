#include "timing/ui/SevenSegmentDisplay.h"

#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>

#include <array>

namespace {

// Segments a..g, in the usual order: top, upper right, lower right, bottom, lower left, upper left,
// middle.
constexpr std::array<quint8, 10> kDigitSegments = {
    0b0111111, // 0
    0b0000110, // 1
    0b1011011, // 2
    0b1001111, // 3
    0b1100110, // 4
    0b1101101, // 5
    0b1111101, // 6
    0b0000111, // 7
    0b1111111, // 8
    0b1101111, // 9
};

constexpr int kDigitWidth = 22;
constexpr int kDigitHeight = 40;
constexpr int kDigitGap = 5;

// One segment as a hexagon between two points, thickness t.
QPolygonF segment(QPointF from, QPointF to, qreal t) {
    const qreal h = t / 2;
    if (qFuzzyCompare(from.y(), to.y())) {
        return QPolygonF({QPointF(from.x(), from.y()), QPointF(from.x() + h, from.y() - h),
                          QPointF(to.x() - h, to.y() - h), QPointF(to.x(), to.y()),
                          QPointF(to.x() - h, to.y() + h), QPointF(from.x() + h, from.y() + h)});
    }
    return QPolygonF({QPointF(from.x(), from.y()), QPointF(from.x() + h, from.y() + h),
                      QPointF(to.x() + h, to.y() - h), QPointF(to.x(), to.y()),
                      QPointF(to.x() - h, to.y() - h), QPointF(from.x() - h, from.y() + h)});
}

} // namespace

SevenSegmentDisplay::SevenSegmentDisplay(QWidget* parent) : QWidget(parent) {
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    // The paint covers every pixel: the window behind need not be drawn first, four times a second
    // while the race clock runs.
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void SevenSegmentDisplay::setDigitCount(int count) {
    count = qBound(1, count, 9);
    if (count == m_digitCount)
        return;
    m_digitCount = count;
    updateGeometry();
    update();
}

void SevenSegmentDisplay::setValue(int value) {
    if (value == m_value)
        return;
    m_value = value;
    update();
}

QString SevenSegmentDisplay::text() const {
    int modulus = 1;
    for (int i = 0; i < m_digitCount; ++i)
        modulus *= 10;
    const int shown = m_value < 0 ? 0 : m_value % modulus;
    return QStringLiteral("%1").arg(shown, m_digitCount, 10, QLatin1Char('0'));
}

QColor SevenSegmentDisplay::unlitColor() const {
    // The shade of a scroll bar's track: a little darker than the button face.
    return palette().color(QPalette::Button).darker(112);
}

QSize SevenSegmentDisplay::sizeHint() const {
    return QSize(m_digitCount * kDigitWidth + (m_digitCount + 1) * kDigitGap, kDigitHeight + 2 * kDigitGap);
}

QSize SevenSegmentDisplay::minimumSizeHint() const {
    return sizeHint();
}

void SevenSegmentDisplay::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), palette().color(QPalette::Window));
    const qreal digitWidth = (width() - (m_digitCount + 1) * kDigitGap) / qreal(m_digitCount);
    const qreal digitHeight = height() - 2.0 * kDigitGap;
    const QString digits = text();
    for (int i = 0; i < m_digitCount; ++i) {
        const QPointF at(kDigitGap + i * (digitWidth + kDigitGap), kDigitGap);
        painter.drawPixmap(at, digitPicture(QSizeF(digitWidth, digitHeight), digits.at(i).digitValue()));
    }
}

const QPixmap& SevenSegmentDisplay::digitPicture(const QSizeF& size, int digit) {
    // Antialiased polygons cost far more than a copy, and the clock redraws its digits four times a
    // second for the whole race: each digit is drawn once per look and then copied.
    const qreal ratio = devicePixelRatioF();
    const QColor background = palette().color(QPalette::Window);
    const QColor unlit = unlitColor();
    if (size != m_pictureSize || ratio != m_pictureRatio || background != m_pictureBackground ||
        unlit != m_pictureUnlit) {
        m_pictures.fill(QPixmap());
        m_pictureSize = size;
        m_pictureRatio = ratio;
        m_pictureBackground = background;
        m_pictureUnlit = unlit;
    }
    const auto index = std::size_t(digit >= 0 && digit <= 9 ? digit : 10);
    QPixmap& picture = m_pictures[index];
    if (picture.isNull()) {
        picture = QPixmap((size * ratio).toSize());
        picture.setDevicePixelRatio(ratio);
        picture.fill(background);
        QPainter painter(&picture);
        painter.setRenderHint(QPainter::Antialiasing);
        paintDigit(painter, QRectF(QPointF(0, 0), size), digit);
    }
    return picture;
}

void SevenSegmentDisplay::paintDigit(QPainter& painter, const QRectF& box, int digit) const {
    const qreal t = qMax<qreal>(2.0, box.width() / 5.5);
    const qreal inset = t / 2 + 0.5;
    const qreal left = box.left() + inset;
    const qreal right = box.right() - inset;
    const qreal top = box.top() + inset;
    const qreal bottom = box.bottom() - inset;
    const qreal middle = box.center().y();
    const qreal gap = 1.0;
    const std::array<QPolygonF, 7> shapes = {
        segment(QPointF(left + gap, top), QPointF(right - gap, top), t),
        segment(QPointF(right, top + gap), QPointF(right, middle - gap), t),
        segment(QPointF(right, middle + gap), QPointF(right, bottom - gap), t),
        segment(QPointF(left + gap, bottom), QPointF(right - gap, bottom), t),
        segment(QPointF(left, middle + gap), QPointF(left, bottom - gap), t),
        segment(QPointF(left, top + gap), QPointF(left, middle - gap), t),
        segment(QPointF(left + gap, middle), QPointF(right - gap, middle), t),
    };
    const quint8 lit = digit >= 0 && digit <= 9 ? kDigitSegments[digit] : 0;
    painter.setPen(Qt::NoPen);
    for (int s = 0; s < 7; ++s) {
        painter.setBrush((lit >> s) & 1 ? m_litColor : unlitColor());
        painter.drawPolygon(shapes[s]);
    }
}
