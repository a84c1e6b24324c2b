#include "backup/RestoreTarget.h"

#include "config/DataFolder.h"

#include <QDir>
#include <QFileInfo>

namespace {

bool isWindowsDrive(const QString& name) {
    return name.size() >= 2 && name.at(1) == QLatin1Char(':') && name.at(0).isLetter();
}

// The parts of a relative name, or an empty list when a part would climb out or none is left.
QStringList safeParts(const QString& relative) {
    QString name = relative;
    name.replace(QLatin1Char('\\'), QLatin1Char('/'));
    if (name.startsWith(QLatin1Char('/')))
        return {};
    QStringList parts;
    for (const QString& part : name.split(QLatin1Char('/'), Qt::SkipEmptyParts)) {
        if (part == QLatin1String(".."))
            return {};
        if (part != QLatin1String("."))
            parts << part;
    }
    return parts;
}

bool inside(const QString& canonicalRoot, const QString& canonicalPath) {
    if (canonicalRoot.isEmpty() || canonicalPath.isEmpty())
        return false;
    return canonicalPath == canonicalRoot || canonicalRoot == QLatin1String("/") ||
           canonicalPath.startsWith(canonicalRoot + QLatin1Char('/'));
}

} // namespace

RestoreTarget::RestoreTarget(const QString& targetFolder, bool fullPath, const QString& dataFolder)
    : m_originalPlace(targetFolder.isEmpty()), m_fullPath(fullPath) {
    m_root = QDir::cleanPath(QDir(m_originalPlace ? dataFolder : targetFolder).absolutePath());
}

QString RestoreTarget::pathFor(const QString& storedName) const {
    if (storedName.isEmpty() || storedName.contains(QChar(0)))
        return QString();
    if (m_originalPlace) {
        // A Windows station's name has no place on this one.
        if (isWindowsDrive(storedName) || storedName.contains(QLatin1Char('\\')) ||
            !storedName.startsWith(QLatin1Char('/')))
            return QString();
        const QString prefix = m_root.toLower() + QLatin1Char('/');
        if (!storedName.startsWith(prefix, Qt::CaseInsensitive))
            return QString();
        const QStringList parts = safeParts(storedName.mid(prefix.size()));
        if (parts.isEmpty())
            return QString();
        return DataFolder::resolve(m_root, parts.join(QLatin1Char('/')));
    }
    QString relative;
    if (m_fullPath) {
        if (isWindowsDrive(storedName)) {
            relative = storedName.mid(2);
            if (relative.startsWith(QLatin1Char('\\')) || relative.startsWith(QLatin1Char('/')))
                relative = relative.mid(1);
        } else if (storedName.startsWith(QLatin1Char('/')) || storedName.startsWith(QLatin1Char('\\'))) {
            relative = storedName.mid(1);
        } else {
            relative = storedName;
        }
    } else {
        QString name = storedName;
        name.replace(QLatin1Char('\\'), QLatin1Char('/'));
        relative = name.mid(name.lastIndexOf(QLatin1Char('/')) + 1);
        if (isWindowsDrive(relative))
            relative = relative.mid(2);
    }
    const QStringList parts = safeParts(relative);
    if (parts.isEmpty() || isWindowsDrive(parts.first()))
        return QString();
    return m_root + QLatin1Char('/') + parts.join(QLatin1Char('/'));
}

bool RestoreTarget::staysInside(const QString& path) const {
    const QString canonicalRoot = QFileInfo(m_root).canonicalFilePath();
    if (canonicalRoot.isEmpty())
        return false;
    const QFileInfo target(path);
    // A link at the file's own place is followed when the file is written.
    if (target.isSymLink())
        return inside(canonicalRoot, target.canonicalFilePath());
    // Otherwise the deepest folder on the way that exists decides; what is created below it stays
    // below it.
    QString existing = QDir::cleanPath(target.absoluteFilePath());
    while (!QFileInfo::exists(existing)) {
        const QFileInfo up(existing);
        if (up.isSymLink())
            return false; // a dangling link on the way
        const QString parent = up.absolutePath();
        if (parent == existing)
            return false;
        existing = parent;
    }
    return inside(canonicalRoot, QFileInfo(existing).canonicalFilePath());
}
