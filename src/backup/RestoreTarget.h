#pragma once

#include <QSet>
#include <QString>
#include <QStringList>

// Where a stored name is restored, and the guard that no restore writes outside its folder.
//
// Stored names are absolute paths, of a Linux station as they are ("/home/op/tarvolin/stav.ini") or of
// a Windows station in lower case ("c:\prog\stav.ini"). The data folder an archive was made from (its
// origin: the folder of its "tarvolin.ini", else the folder all its files share, or the one above when
// that is "vysledky") maps onto the target:
// restored to the original place, its files return into the current data folder with their
// sub-folders, so that a station moves to another folder or PC; restored elsewhere, they keep their
// sub-folders below the target. Other names keep the plain rules: to the original place only a name
// inside the current data folder comes back; elsewhere a name gives its file part, or with the full
// path the name less its root ("c:\" or "/"), below the target. In the data folder each folder and
// file is found without regard to case, unless the archive holds names that differ only in case.
class RestoreTarget {
public:
    // An empty target folder restores to the original place, inside dataFolder.
    RestoreTarget(const QString& targetFolder, bool fullPath, const QString& dataFolder);

    // The path to write, or an empty text when the name may not be restored here: ".." parts, a name
    // still absolute once its root is gone, a Windows name for the original place, a name outside the
    // data folder.
    QString pathFor(const QString& storedName) const;

    // The names the archive holds (as far as it could be read): they give its origin and the names
    // that must be matched exactly.
    void setArchiveNames(const QStringList& names);
    // The origin of an archive holding these names, with "/" separating; empty when there is none.
    static QString originOf(const QStringList& names);

    // Whether writing path stays inside the folder once every symbolic link on the way is followed.
    bool staysInside(const QString& path) const;

    // The folder every restored file must stay in.
    const QString& root() const { return m_root; }

private:
    QString place(const QStringList& parts, const QString& storedName) const;

    QString m_root;
    QString m_origin;
    QSet<QString> m_caseTwins; // lower-case names that stand for more than one stored name
    bool m_originalPlace;
    bool m_fullPath;
};
