// The lock keys' lights as the status bar reads them. On X11 the test switches the server's LEDs
// itself; elsewhere (offscreen) there is nothing to read and the indicators stay grey.
#include "platform/LockKeys.h"

#include <QGuiApplication>
#include <QtGui/qguiapplication_platform.h>
#include <QtTest>

#include <xcb/xcb.h>

#include <dlfcn.h>

class LockKeysTest : public QObject {
    Q_OBJECT

private slots:
    void offscreenGivesNothing() {
        if (QGuiApplication::platformName() != QStringLiteral("offscreen"))
            QSKIP("not offscreen");
        if (QDir(QStringLiteral("/sys/class/leds"))
                .entryList({QStringLiteral("*::capslock")}, QDir::Dirs)
                .isEmpty())
            QVERIFY(!LockKeys::read().has_value());
    }

    void x11LedsAreRead() {
#if QT_CONFIG(xcb)
        auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
        if (!x11)
            QSKIP("not on X11");
        // Lock the Lock modifier through the keyboard extension, as pressing Caps Lock does; the server
        // then lights LED 1. (The extension's library is loaded by the platform plugin.)
        using LatchLockState = xcb_void_cookie_t (*)(xcb_connection_t*, quint16, quint8, quint8, quint8,
                                                     quint8, quint8, quint8, quint16);
        void* xkb = dlopen("libxcb-xkb.so.1", RTLD_LAZY | RTLD_NOLOAD);
        const auto latchLock =
            reinterpret_cast<LatchLockState>(xkb ? dlsym(xkb, "xcb_xkb_latch_lock_state") : nullptr);
        if (!latchLock)
            QSKIP("the keyboard extension is not loaded");
        constexpr quint16 coreKeyboard = 0x100;
        constexpr quint8 lockMask = 0x02;
        const auto setCapsLock = [&](bool on) {
            latchLock(x11->connection(), coreKeyboard, lockMask, on ? lockMask : 0, 0, 0, 0, 0, 0);
        };
        setCapsLock(true);
        QTRY_VERIFY(LockKeys::read().has_value() && LockKeys::read()->caps);
        QVERIFY(!LockKeys::read()->scroll);
        setCapsLock(false);
        QTRY_VERIFY(!LockKeys::read()->caps);
#else
        QSKIP("built without X11");
#endif
    }
};

QTEST_MAIN(LockKeysTest)
#include "LockKeysTest.moc"
