#include "platform/XdgStartEntry.h"

#include "base/UserError.h"
#include "platform/DesktopEntryFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

XdgStartEntry::XdgStartEntry(XdgPaths paths) : m_paths(std::move(paths)) {}

QString XdgStartEntry::filePath() const {
    return m_paths.autostartDir() + QStringLiteral("/tarvolin.desktop");
}

void XdgStartEntry::setEnabled(bool on, const QString& programPath) {
    const QString path = filePath();
    if (!on) {
        if (QFileInfo::exists(path) && !QFile::remove(path))
            throw UserError(QStringLiteral("Nelze odstranit soubor %1").arg(QDir::toNativeSeparators(path)));
        return;
    }
    const QFileInfo program(programPath);
    DesktopEntryFile entry;
    entry.add(QStringLiteral("Type"), QStringLiteral("Application"));
    entry.add(QStringLiteral("Name"), QStringLiteral("tarvolin"));
    entry.addExec(program.absoluteFilePath(), m_arguments);
    entry.add(QStringLiteral("Path"), program.absolutePath());
    entry.add(QStringLiteral("Terminal"), QStringLiteral("false"));
    entry.save(path, false);
}

bool XdgStartEntry::isEnabled() const {
    return QFileInfo::exists(filePath());
}
