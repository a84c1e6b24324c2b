#include "TempDataFolder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

TempDataFolder::TempDataFolder() : m_dir(QDir::tempPath() + QStringLiteral("/tarvolin-test-XXXXXX")) {}

QString TempDataFolder::filePath(const QString& relativeName) const {
    return m_dir.filePath(relativeName);
}

QString TempDataFolder::writeFile(const QString& relativeName, const QByteArray& content) const {
    const QString path = filePath(relativeName);
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        file.write(content);
    return path;
}

QString TempDataFolder::makeFolder(const QString& relativeName) const {
    const QString path = filePath(relativeName);
    QDir().mkpath(path);
    return path;
}

QByteArray TempDataFolder::readFile(const QString& relativeName) const {
    QFile file(filePath(relativeName));
    if (!file.open(QIODevice::ReadOnly))
        return QByteArray();
    return file.readAll();
}

bool TempDataFolder::exists(const QString& relativeName) const {
    return QFileInfo::exists(filePath(relativeName));
}
