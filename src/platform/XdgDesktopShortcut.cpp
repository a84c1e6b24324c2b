#include "platform/XdgDesktopShortcut.h"

#include "platform/DesktopEntryFile.h"

#include <QFileInfo>

XdgDesktopShortcut::XdgDesktopShortcut(XdgPaths paths) : m_paths(std::move(paths)) {}

QString XdgDesktopShortcut::filePath() const {
    return m_paths.desktopDir() + QLatin1Char('/') + fileName();
}

void XdgDesktopShortcut::create(const QString& programPath) {
    const QFileInfo program(programPath);
    DesktopEntryFile entry;
    entry.add(QStringLiteral("Type"), QStringLiteral("Application"));
    entry.add(QStringLiteral("Name"), QStringLiteral("Tarvolin ver. 2.0 Final"));
    entry.add(QStringLiteral("Comment"), QStringLiteral("tarvolin ver. 2.0 Final"));
    entry.addExec(program.absoluteFilePath(), m_arguments);
    entry.add(QStringLiteral("Path"), program.absolutePath());
    entry.add(QStringLiteral("Terminal"), QStringLiteral("false"));
    // The installed icon; a desktop that has none under this name shows its own.
    entry.add(QStringLiteral("Icon"), QStringLiteral("tarvolin"));
    // Desktops only launch a file on the desktop that is marked executable.
    entry.save(filePath(), true);
}
