#include "config/DataFolder.h"

#include <QDir>
#include <QFileInfo>

namespace {

// The exact spelling wins; otherwise the first entry, in name order, that differs only in case.
QString matchEntry(const QString& folder, const QString& name) {
    const QDir dir(folder);
    if (!dir.exists())
        return QString();
    if (QFileInfo::exists(dir.filePath(name)))
        return name;
    const QStringList entries =
        dir.entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
    for (const QString& entry : entries) {
        if (entry.compare(name, Qt::CaseInsensitive) == 0)
            return entry;
    }
    return QString();
}

} // namespace

DataFolder::DataFolder(const QString& root) : m_root(QDir::cleanPath(QDir(root).absolutePath())) {}

QString DataFolder::filePath(const QString& relativeName) const {
    return resolve(m_root, relativeName);
}

QString DataFolder::resolve(const QString& folder, const QString& relativeName) {
    QString name = relativeName;
    name.replace(QLatin1Char('\\'), QLatin1Char('/'));
    if (QDir::isAbsolutePath(name))
        return QDir::cleanPath(name);

    const QStringList segments = name.split(QLatin1Char('/'), Qt::SkipEmptyParts);
    QString current = QDir::cleanPath(folder);
    bool matching = true;
    for (const QString& segment : segments) {
        if (segment == QLatin1String(".") || segment == QLatin1String("..")) {
            current = QDir::cleanPath(current + QLatin1Char('/') + segment);
            continue;
        }
        QString entry;
        if (matching) {
            entry = matchEntry(current, segment);
            if (entry.isEmpty())
                matching = false;
        }
        current += QLatin1Char('/') + (entry.isEmpty() ? segment : entry);
    }
    return QDir::cleanPath(current);
}
