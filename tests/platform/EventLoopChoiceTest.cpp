#include "platform/EventLoopChoice.h"

#include <QByteArray>
#include <QtGlobal>

#include <gtest/gtest.h>

namespace {

// Restores QT_NO_GLIB as the test found it.
class NoGlibVariable {
public:
    NoGlibVariable() : m_wasSet(qEnvironmentVariableIsSet("QT_NO_GLIB")), m_value(qgetenv("QT_NO_GLIB")) {}
    ~NoGlibVariable() {
        if (m_wasSet)
            qputenv("QT_NO_GLIB", m_value);
        else
            qunsetenv("QT_NO_GLIB");
    }

private:
    bool m_wasSet;
    QByteArray m_value;
};

} // namespace

TEST(EventLoopChoice, SelectsQtsOwnDispatcherWhenTheEnvironmentIsSilent) {
    const NoGlibVariable keep;
    qunsetenv("QT_NO_GLIB");
    EventLoopChoice::preferPlainUnixDispatcher();
    EXPECT_FALSE(qEnvironmentVariableIsEmpty("QT_NO_GLIB"));
}

TEST(EventLoopChoice, LeavesTheUsersChoiceAlone) {
    const NoGlibVariable keep;
    // Set but empty: the user asks for GLib's dispatcher.
    qputenv("QT_NO_GLIB", QByteArray());
    EventLoopChoice::preferPlainUnixDispatcher();
    EXPECT_TRUE(qEnvironmentVariableIsSet("QT_NO_GLIB"));
    EXPECT_TRUE(qEnvironmentVariableIsEmpty("QT_NO_GLIB"));
}
