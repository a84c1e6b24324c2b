#pragma once

#include <QList>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>

#include <optional>

// Where the audience window opens. A screen to the right of the primary one (the TV, an extended
// desktop) gets it at its top left corner. With the operator's screen alone it must not hide the
// race from the operator: it goes where the operator last put it, else beside the main window.
class AudiencePlacement {
public:
    // The top left corner of the nearest screen right of the primary one (of screens side by side,
    // the one level with the primary); none when there is no such screen. screens: every screen's
    // geometry on the virtual desktop.
    static std::optional<QPoint> screenRightOf(const QList<QRect>& screens, const QRect& primary);

    // On the operator's screen (its free area available), a window of size: clear of the main
    // window (its frame mainFrame) beside, below or above it where the screen has room; else on the
    // screen clear of keepFree (the START button and the lap lists, in screen coordinates); else
    // beside the main window on its roomier side, past the screen's edge.
    static QPoint besideMainWindow(const QRect& available, const QRect& mainFrame,
                                   const QList<QRect>& keepFree, const QSize& size);

    // A place kept as "x,y"; none for any other text, or when a window of size there would not show
    // the strip along its top (where it is taken to be moved) on any of screens.
    static std::optional<QPoint> remembered(const QString& text, const QList<QRect>& screens,
                                            const QSize& size);
    static QString rememberText(const QPoint& place);
};
