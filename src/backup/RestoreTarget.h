#pragma once

#include <QString>
#include <QStringList>

// Where a stored name is restored, and the guard that no restore writes outside its folder.
//
// Stored names are absolute lower-case paths, either of this station ("/home/op/tarvolin/stav.ini")
// or of a Windows station ("c:\prog\stav.ini"). Restored to the original place, only names inside the
// data folder come back, each folder found without regard to case. Restored elsewhere, a name gives
// its file part, or with the full path the name less its root ("c:\" or "/"), below the target.
class RestoreTarget {
public:
    // An empty target folder restores to the original place, inside dataFolder.
    RestoreTarget(const QString& targetFolder, bool fullPath, const QString& dataFolder);

    // The path to write, or an empty text when the name may not be restored here: ".." parts, a name
    // still absolute once its root is gone, a Windows name for the original place, a name outside the
    // data folder.
    QString pathFor(const QString& storedName) const;

    // Whether writing path stays inside the folder once every symbolic link on the way is followed.
    bool staysInside(const QString& path) const;

    // The folder every restored file must stay in.
    const QString& root() const { return m_root; }

private:
    QString m_root;
    bool m_originalPlace;
    bool m_fullPath;
};
