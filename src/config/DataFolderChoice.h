#pragma once

#include <QString>

#include <functional>

// Which folder holds the data files. "--data DIR" wins; otherwise the program's own folder, as long
// as the program runs from a folder of its own (a build tree, a copy on a USB stick). An installed
// program (its folder cannot be written, or it sits in a "bin" folder beside "share/tarvolin") keeps
// each user's data in $XDG_DATA_HOME/tarvolin (~/.local/share/tarvolin), filled on the first start
// with the default files installed in <program folder>/../share/tarvolin.
class DataFolderChoice {
public:
    struct Environment {
        QString programFolder; // the folder of the running program file
        QString xdgDataHome;   // $XDG_DATA_HOME; used only when absolute
        QString home;          // $HOME

        // The running program's folder (the current folder without an application object) and the
        // process environment.
        static Environment current();
    };
    using WritableTest = std::function<bool(const QString& folder)>;

    // given: the folder of "--data", empty when none was given.
    DataFolderChoice(const QString& given, const Environment& environment,
                     WritableTest isWritable = isWritableFolder);

    // The absolute path of the data folder.
    QString folder() const { return m_folder; }
    // True when the folder is the user's own one of an installed program.
    bool isUserFolder() const { return m_userFolder; }
    // Where an installed program keeps its default data files.
    QString defaultsFolder() const { return m_defaults; }

    // Makes the folder ready for use: creates it when missing and, for the user's folder of an
    // installed program, fills the new folder with the default files. Throws UserError with a Czech
    // message naming the folder when it cannot be created, filled or written; it never falls back
    // on another folder.
    void prepare() const;

    static bool isWritableFolder(const QString& folder);

private:
    QString m_folder;
    QString m_defaults;
    bool m_userFolder = false;
    WritableTest m_isWritable;
};
