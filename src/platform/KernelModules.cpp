#include "platform/KernelModules.h"

#include "platform/SystemCommand.h"

QString ModprobeKernelModules::reloadParallelPortModules() {
    const QString modprobe = QStringLiteral("modprobe");
    const QString removal = SystemCommand::run(
        modprobe, {QStringLiteral("-r"), QStringLiteral("ppdev"), QStringLiteral("parport_pc")});
    if (!removal.isEmpty())
        return removal;
    return SystemCommand::run(modprobe, {QStringLiteral("parport_pc"), QStringLiteral("ppdev")});
}
