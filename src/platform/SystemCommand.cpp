#include "platform/SystemCommand.h"

#include <QProcess>

QString SystemCommand::run(const QString& program, const QStringList& arguments, int timeoutMs) {
    const QString commandLine = (QStringList{program} + arguments).join(QLatin1Char(' '));
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(program, arguments);
    if (!process.waitForStarted(timeoutMs))
        return QStringLiteral("%1: příkaz nelze spustit (%2)").arg(commandLine, process.errorString());
    if (!process.waitForFinished(timeoutMs)) {
        process.kill();
        process.waitForFinished(1000);
        return QStringLiteral("%1: příkaz nedoběhl včas").arg(commandLine);
    }
    if (process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0) {
        const QString output = QString::fromLocal8Bit(process.readAll()).trimmed();
        return QStringLiteral("%1: skončil s kódem %2%3")
            .arg(commandLine)
            .arg(process.exitCode())
            .arg(output.isEmpty() ? QString() : QStringLiteral("\n") + output);
    }
    return QString();
}
