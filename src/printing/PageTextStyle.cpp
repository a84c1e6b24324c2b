#include "printing/PageTextStyle.h"

#include <QFontMetricsF>
#include <QHash>

#include <cmath>

namespace {

// The font's cell per em, measured once per face at a size large enough that hinting does not
// round it.
qreal cellPerEm(const QFont& face) {
    static QHash<QString, qreal> known;
    const QString key = face.key();
    const auto found = known.constFind(key);
    if (found != known.constEnd())
        return *found;
    QFont probe(face);
    constexpr int ProbeSize = 1000;
    probe.setPixelSize(ProbeSize);
    const QFontMetricsF metrics(probe);
    const qreal ratio = (metrics.ascent() + metrics.descent()) / ProbeSize;
    const qreal sane = ratio > 0.5 && ratio < 3.0 ? ratio : 1.0;
    known.insert(key, sane);
    return sane;
}

} // namespace

QFont PageTextStyle::font() const {
    QFont result(family);
    // Times New Roman and Arial resolve to their metric twins where they are not installed.
    result.setStyleHint(family.contains(QLatin1String("Times")) ? QFont::Serif : QFont::SansSerif);
    result.setBold(bold);
    result.setItalic(italic);
    result.setUnderline(underline);
    result.setKerning(false);
    result.setHintingPreference(QFont::PreferNoHinting);
    int pixels = qMax(1, size);
    if (sizeKind == CellHeight) {
        QFont face(result);
        face.setPixelSize(100);
        pixels = qMax(1, int(std::lround(size / cellPerEm(face))));
    }
    result.setPixelSize(pixels);
    return result;
}
