#pragma once

#include "config/DataFolder.h"

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

// A data folder of its own for one test, removed with the object.
class TempDataFolder {
public:
    TempDataFolder();

    bool isValid() const { return m_dir.isValid(); }
    QString path() const { return m_dir.path(); }
    // The path of a name inside, taken exactly as given ("/" separates).
    QString filePath(const QString& relativeName) const;
    // The folder as the program sees it (names matched without regard to case).
    DataFolder dataFolder() const { return DataFolder(m_dir.path()); }

    // Writes a file (creating its folders) and returns its path.
    QString writeFile(const QString& relativeName, const QByteArray& content) const;
    // Creates a folder (and its parents) and returns its path.
    QString makeFolder(const QString& relativeName) const;
    // The file's bytes; empty when it is missing.
    QByteArray readFile(const QString& relativeName) const;
    bool exists(const QString& relativeName) const;

private:
    QTemporaryDir m_dir;
};
