#pragma once

#include <QList>
#include <QPoint>
#include <QRect>

// Where the audience window opens. A screen to the right of the primary one (the TV, an extended
// desktop) gets it at its top left corner. With the primary screen alone the window opens on it, at
// the top left of its free area, so that an operator with one monitor sees it at all.
class AudiencePlacement {
public:
    // screens: every screen's geometry on the virtual desktop; primary: the primary screen's geometry
    // and primaryAvailable its area free of panels.
    static QPoint topLeft(const QList<QRect>& screens, const QRect& primary, const QRect& primaryAvailable);
};
