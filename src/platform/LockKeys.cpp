#include "platform/LockKeys.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QtGui/qguiapplication_platform.h>

#include <xcb/xcb.h>

#include <cstdlib>
#include <dlfcn.h>

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

// On X11 the server keeps the keyboard's indicator lights: LED 1 Caps Lock, 2 Num Lock, 3 Scroll Lock.
// The window system's own connection is used; its library is already loaded by the platform plugin,
// so the two calls are looked up rather than linked.
std::optional<LockKeyStates> readX11() {
#if QT_CONFIG(xcb)
    auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    if (!x11 || !x11->connection())
        return std::nullopt;
    // The library the platform plugin loaded; no new one is loaded here.
    static void* const library = dlopen("libxcb.so.1", RTLD_LAZY | RTLD_NOLOAD);
    static const auto request = reinterpret_cast<decltype(&xcb_get_keyboard_control)>(
        library ? dlsym(library, "xcb_get_keyboard_control") : nullptr);
    static const auto answer = reinterpret_cast<decltype(&xcb_get_keyboard_control_reply)>(
        library ? dlsym(library, "xcb_get_keyboard_control_reply") : nullptr);
    if (!request || !answer)
        return std::nullopt;
    xcb_connection_t* connection = x11->connection();
    xcb_get_keyboard_control_reply_t* reply = answer(connection, request(connection), nullptr);
    if (!reply)
        return std::nullopt;
    LockKeyStates states;
    states.caps = reply->led_mask & 0x1;
    states.num = reply->led_mask & 0x2;
    states.scroll = reply->led_mask & 0x4;
    std::free(reply);
    return states;
#else
    return std::nullopt;
#endif
}

} // namespace

namespace LockKeys {

std::optional<LockKeyStates> read() {
    if (const std::optional<LockKeyStates> x11 = readX11())
        return x11;
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
