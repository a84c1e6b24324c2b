#include "platform/XdgPaths.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTextStream>

XdgPaths XdgPaths::fromEnvironment() {
    XdgPaths paths;
    paths.home = qEnvironmentVariable("HOME", QDir::homePath());
    const QString config = qEnvironmentVariable("XDG_CONFIG_HOME");
    // The convention ignores a relative value.
    paths.configHome = QDir::isAbsolutePath(config) ? config : paths.home + QStringLiteral("/.config");
    return paths;
}

XdgPaths XdgPaths::underHome(const QString& home) {
    XdgPaths paths;
    paths.home = home;
    paths.configHome = home + QStringLiteral("/.config");
    return paths;
}

QString XdgPaths::autostartDir() const {
    return configHome + QStringLiteral("/autostart");
}

QString XdgPaths::desktopDir() const {
    QFile file(configHome + QStringLiteral("/user-dirs.dirs"));
    if (file.open(QIODevice::ReadOnly | QIODevice::Text)) {
        QTextStream in(&file);
        // The file is shell syntax, but xdg-user-dirs only ever writes this one form.
        static const QRegularExpression line(QStringLiteral("^\\s*XDG_DESKTOP_DIR\\s*=\\s*\"(.*)\"\\s*$"));
        while (!in.atEnd()) {
            const QRegularExpressionMatch match = line.match(in.readLine());
            if (!match.hasMatch())
                continue;
            QString dir = match.captured(1);
            dir.replace(QStringLiteral("\\\""), QStringLiteral("\""));
            if (dir.startsWith(QStringLiteral("$HOME")))
                dir = home + dir.mid(5);
            if (QDir::isAbsolutePath(dir))
                return QDir::cleanPath(dir);
        }
    }
    return home + QStringLiteral("/Desktop");
}
