#include "config/SoundPathText.h"

QString SoundPathText(const QString& path) {
    constexpr int shown = 63;
    if (path.size() < shown)
        return path;
    return QStringLiteral(" ..") + path.right(shown);
}
