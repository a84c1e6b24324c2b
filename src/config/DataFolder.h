#pragma once

#include <QString>

// The folder that holds every data file: the program's own folder, or the one given by "--data DIR".
// Names below it are matched without regard to letter case, so a file keeps the spelling it already
// has on disk ("TopDeset.ini" finds "topdeset.ini") and a new file gets the name as given.
class DataFolder {
public:
    explicit DataFolder(const QString& root);

    // The absolute path of the folder itself.
    QString path() const { return m_root; }

    // Resolves a relative name ("tarvolin.ini", "zvuky/prg/applause.wav"; "\" separates as well as "/")
    // against the real entries, segment by segment. Where a segment has no match, it and the rest are
    // used as given. Absolute names are returned cleaned but otherwise untouched.
    QString filePath(const QString& relativeName) const;

    // The same for folders; kept separate so that callers say what they expect.
    QString folderPath(const QString& relativeName) const { return filePath(relativeName); }

    // Resolves a name against an arbitrary folder in the same way.
    static QString resolve(const QString& folder, const QString& relativeName);

private:
    QString m_root;
};
