#include "display/AudiencePlacement.h"

#include <QStringList>

namespace {

constexpr int Gap = 8;

// x (or y) moved so that a length fits between low and high; the low end when it cannot fit.
int clampInto(int value, int length, int low, int high) {
    return qMax(low, qMin(value, high + 1 - length));
}

bool clearOf(const QRect& window, const QList<QRect>& areas) {
    for (const QRect& area : areas) {
        if (window.intersects(area))
            return false;
    }
    return true;
}

} // namespace

std::optional<QPoint> AudiencePlacement::screenRightOf(const QList<QRect>& screens, const QRect& primary) {
    const QRect* best = nullptr;
    for (const QRect& screen : screens) {
        if (screen == primary || screen.left() <= primary.right())
            continue;
        if (!best || screen.left() < best->left() ||
            (screen.left() == best->left() &&
             qAbs(screen.top() - primary.top()) < qAbs(best->top() - primary.top())))
            best = &screen;
    }
    if (!best)
        return std::nullopt;
    return best->topLeft();
}

QPoint AudiencePlacement::besideMainWindow(const QRect& available, const QRect& mainFrame,
                                           const QList<QRect>& keepFree, const QSize& size) {
    const int w = size.width();
    const int h = size.height();
    const int top = clampInto(mainFrame.top(), h, available.top(), available.bottom());
    const int left = clampInto(mainFrame.left(), w, available.left(), available.right());
    const int rightOf = mainFrame.right() + 1 + Gap;
    const int leftOf = mainFrame.left() - Gap - w;
    // Right, left, below, above: the main window wholly in view.
    for (const QPoint place :
         {QPoint(rightOf, top), QPoint(leftOf, top), QPoint(left, mainFrame.bottom() + 1 + Gap),
          QPoint(left, mainFrame.top() - Gap - h)}) {
        const QRect window(place, size);
        if (available.contains(window) && !window.intersects(mainFrame))
            return place;
    }
    // Over the main window's less needed parts, never over START and the laps.
    for (const int x : {rightOf, leftOf, available.left(), available.right() + 1 - w}) {
        for (const int y : {available.top(), available.bottom() + 1 - h, mainFrame.bottom() + 1 + Gap,
                            mainFrame.top() - Gap - h}) {
            const QPoint place(clampInto(x, w, available.left(), available.right()),
                               clampInto(y, h, available.top(), available.bottom()));
            if (clearOf(QRect(place, size), keepFree))
                return place;
        }
    }
    const bool roomierRight = available.right() - mainFrame.right() >= mainFrame.left() - available.left();
    return QPoint(roomierRight ? rightOf : leftOf, top);
}

std::optional<QPoint> AudiencePlacement::remembered(const QString& text, const QList<QRect>& screens,
                                                    const QSize& size) {
    const QStringList parts = text.split(QLatin1Char(','));
    bool xOk = false;
    bool yOk = false;
    const QPoint place(parts.value(0).trimmed().toInt(&xOk), parts.value(1).trimmed().toInt(&yOk));
    if (parts.size() != 2 || !xOk || !yOk)
        return std::nullopt;
    // Enough of the top strip to take hold of.
    const QRect strip(place, QSize(size.width(), 24));
    for (const QRect& screen : screens) {
        const QRect shown = strip & screen;
        if (shown.width() >= qMin(100, size.width()) && shown.height() >= 8)
            return place;
    }
    return std::nullopt;
}

QString AudiencePlacement::rememberText(const QPoint& place) {
    return QStringLiteral("%1,%2").arg(place.x()).arg(place.y());
}
