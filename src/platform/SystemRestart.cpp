#include "platform/SystemRestart.h"

#include "platform/SystemCommand.h"

QString SystemctlRestart::restartNow() {
    return SystemCommand::run(QStringLiteral("systemctl"), {QStringLiteral("reboot")});
}
