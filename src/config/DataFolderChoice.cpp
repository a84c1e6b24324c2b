#include "config/DataFolderChoice.h"

#include "base/UserError.h"

#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>

namespace {

QString absoluteClean(const QString& path) {
    return QDir::cleanPath(QDir(path).absolutePath());
}

// Copies every file and folder below from into to; what exists there already is kept.
void copyMissing(const QString& from, const QString& to) {
    QDirIterator it(from, QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    const QDir source(from);
    while (it.hasNext()) {
        const QString path = it.next();
        const QFileInfo info = it.fileInfo();
        const QString target = to + QLatin1Char('/') + source.relativeFilePath(path);
        if (info.isDir()) {
            if (!QDir().mkpath(target))
                throw UserError(QStringLiteral("Složku „%1“ nelze vytvořit.").arg(target));
        } else if (!QFileInfo::exists(target)) {
            if (!QFile::copy(path, target))
                throw UserError(
                    QStringLiteral("Výchozí soubor „%1“ nelze zkopírovat do „%2“.").arg(path, target));
            // The installed copies are read-only; the user's own ones must not be.
            QFile::setPermissions(target, QFile::permissions(target) | QFile::WriteOwner);
        }
    }
}

} // namespace

DataFolderChoice::Environment DataFolderChoice::Environment::current() {
    Environment environment;
    environment.programFolder =
        QCoreApplication::instance() ? QCoreApplication::applicationDirPath() : QDir::currentPath();
    environment.xdgDataHome = qEnvironmentVariable("XDG_DATA_HOME");
    environment.home = qEnvironmentVariable("HOME", QDir::homePath());
    return environment;
}

DataFolderChoice::DataFolderChoice(const QString& given, const Environment& environment,
                                   WritableTest isWritable)
    : m_isWritable(std::move(isWritable)) {
    const QString program = absoluteClean(environment.programFolder);
    m_defaults = QDir::cleanPath(program + QStringLiteral("/../share/tarvolin"));
    if (!given.isEmpty()) {
        m_folder = absoluteClean(given);
        return;
    }
    // root may write to /usr/bin, yet an installed program keeps its data apart from it too.
    const bool installed =
        QFileInfo(program).fileName() == QLatin1String("bin") && QFileInfo(m_defaults).isDir();
    if (m_isWritable(program) && !installed) {
        m_folder = program;
        return;
    }
    m_userFolder = true;
    const QString dataHome = QDir::isAbsolutePath(environment.xdgDataHome)
                                 ? environment.xdgDataHome
                                 : environment.home + QStringLiteral("/.local/share");
    m_folder = QDir::cleanPath(dataHome + QStringLiteral("/tarvolin"));
}

void DataFolderChoice::prepare() const {
    const QFileInfo info(m_folder);
    if (info.exists() && !info.isDir())
        throw UserError(QStringLiteral("Složka s daty „%1“ není složka.").arg(m_folder));
    const bool created = !info.exists();
    if (created && !QDir().mkpath(m_folder))
        throw UserError(QStringLiteral("Složku s daty „%1“ nelze vytvořit.").arg(m_folder));
    if (!m_isWritable(m_folder))
        throw UserError(QStringLiteral("Do složky s daty „%1“ nelze zapisovat. Povolte v ní zápis, nebo "
                                       "zvolte jinou složku parametrem --data.")
                            .arg(m_folder));
    if (created && m_userFolder && QFileInfo(m_defaults).isDir())
        copyMissing(m_defaults, m_folder);
}

bool DataFolderChoice::isWritableFolder(const QString& folder) {
    const QFileInfo info(folder);
    return info.isDir() && info.isWritable();
}
