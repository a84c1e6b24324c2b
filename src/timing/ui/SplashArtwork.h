#pragma once

#include <QPixmap>

// The splash window's pictures, drawn rather than stored: a title, a kart, a chequered flag and a
// stopwatch.
namespace SplashArtwork {

QPixmap title(const QSize& size);
QPixmap kart(const QSize& size);
QPixmap flag(const QSize& size);
QPixmap stopwatch(const QSize& size);

} // namespace SplashArtwork
