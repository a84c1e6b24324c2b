#include "display/AudiencePlacement.h"

QPoint AudiencePlacement::topLeft(const QList<QRect>& screens, const QRect& primary,
                                  const QRect& primaryAvailable) {
    const QRect* best = nullptr;
    for (const QRect& screen : screens) {
        if (screen == primary || screen.left() <= primary.right())
            continue;
        // The nearest screen to the right; of screens side by side, the one level with the primary.
        if (!best || screen.left() < best->left() ||
            (screen.left() == best->left() &&
             qAbs(screen.top() - primary.top()) < qAbs(best->top() - primary.top())))
            best = &screen;
    }
    return best ? best->topLeft() : primaryAvailable.topLeft();
}
