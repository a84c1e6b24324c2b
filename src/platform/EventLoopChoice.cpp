#include "platform/EventLoopChoice.h"

#include <QByteArray>
#include <QtGlobal>

namespace EventLoopChoice {

void preferPlainUnixDispatcher() {
    if (!qEnvironmentVariableIsSet("QT_NO_GLIB"))
        qputenv("QT_NO_GLIB", QByteArrayLiteral("1"));
}

} // namespace EventLoopChoice
