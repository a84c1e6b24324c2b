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

QString withSlashes(const QString& name) {
    QString slashed = name;
    slashed.replace(QLatin1Char('\\'), QLatin1Char('/'));
    return slashed;
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

void RestoreTarget::setArchiveNames(const QStringList& names) {
    m_origin = originOf(names);
    QSet<QString> seen;
    m_caseTwins.clear();
    for (const QString& name : names) {
        const QString lower = name.toLower();
        if (seen.contains(lower))
            m_caseTwins.insert(lower);
        seen.insert(lower);
    }
}

QString RestoreTarget::originOf(const QStringList& names) {
    QStringList common;
    bool first = true;
    for (const QString& name : names) {
        QStringList folder = withSlashes(name).split(QLatin1Char('/'));
        folder.removeLast();
        if (folder.isEmpty())
            continue;
        if (withSlashes(name)
                .section(QLatin1Char('/'), -1)
                .compare(QLatin1String("tarvolin.ini"), Qt::CaseInsensitive) == 0) {
            common = folder;
            first = false;
            break;
        }
        if (first) {
            common = folder;
            first = false;
            continue;
        }
        qsizetype shared = 0;
        while (shared < common.size() && shared < folder.size() && common[shared] == folder[shared])
            ++shared;
        common = common.mid(0, shared);
    }
    // An archive of the lap files alone was made from the folder that holds "vysledky".
    if (!common.isEmpty() && common.last().compare(QLatin1String("vysledky"), Qt::CaseInsensitive) == 0)
        common.removeLast();
    // A root alone ("/", "c:") is no station's folder, nor is a relative or climbing one.
    const QString origin = common.join(QLatin1Char('/'));
    const bool rooted = origin.startsWith(QLatin1Char('/')) || isWindowsDrive(origin);
    if (!rooted || common.size() < 2 || common.last().isEmpty() || common.contains(QLatin1String("..")) ||
        common.contains(QLatin1String(".")))
        return QString();
    return origin;
}

QString RestoreTarget::place(const QStringList& parts, const QString& storedName) const {
    if (!m_caseTwins.contains(storedName.toLower()))
        return DataFolder::resolve(m_root, parts.join(QLatin1Char('/')));
    const QString folder = DataFolder::resolve(m_root, parts.mid(0, parts.size() - 1).join(QLatin1Char('/')));
    return folder + QLatin1Char('/') + parts.last();
}

QString RestoreTarget::pathFor(const QString& storedName) const {
    if (storedName.isEmpty() || storedName.contains(QChar(0)))
        return QString();
    const QString slashed = withSlashes(storedName);
    if (!m_origin.isEmpty() && (m_originalPlace || !m_fullPath) &&
        slashed.startsWith(m_origin + QLatin1Char('/'))) {
        const QStringList parts = safeParts(slashed.mid(m_origin.size() + 1));
        if (parts.isEmpty())
            return QString();
        return m_originalPlace ? place(parts, storedName)
                               : m_root + QLatin1Char('/') + parts.join(QLatin1Char('/'));
    }
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
        return place(parts, storedName);
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
