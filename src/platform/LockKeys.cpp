#include "platform/LockKeys.h"

#include <QDir>
#include <QFile>

namespace {

// A lock is on when any keyboard shows its light: several keyboards each have their own entry.
std::optional<bool> anyLit(const QDir& leds, const QString& suffix) {
    const QStringList names =
        leds.entryList({QStringLiteral("*::") + suffix}, QDir::Dirs | QDir::NoDotAndDotDot);
    if (names.isEmpty())
        return std::nullopt;
    bool lit = false;
    for (const QString& name : names) {
        QFile brightness(leds.filePath(name + QStringLiteral("/brightness")));
        if (brightness.open(QIODevice::ReadOnly) && brightness.readAll().trimmed().toInt() > 0)
            lit = true;
    }
    return lit;
}

} // namespace

namespace LockKeys {

std::optional<LockKeyStates> read() {
    const QDir leds(QStringLiteral("/sys/class/leds"));
    const std::optional<bool> caps = anyLit(leds, QStringLiteral("capslock"));
    if (!caps)
        return std::nullopt;
    LockKeyStates states;
    states.caps = *caps;
    states.num = anyLit(leds, QStringLiteral("numlock")).value_or(false);
    states.scroll = anyLit(leds, QStringLiteral("scrolllock")).value_or(false);
    return states;
}

} // namespace LockKeys
