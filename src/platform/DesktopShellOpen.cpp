#include "platform/DesktopShellOpen.h"

#include <QDesktopServices>
#include <QProcess>

bool DesktopShellOpen::openUrl(const QUrl& url) {
    return QDesktopServices::openUrl(url);
}

bool DesktopShellOpen::startDetached(const QString& program, const QString& workingFolder) {
    QProcess process;
    process.setProgram(program);
    process.setWorkingDirectory(workingFolder);
    return process.startDetached();
}
