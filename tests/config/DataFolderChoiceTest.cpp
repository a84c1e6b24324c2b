#include "config/DataFolderChoice.h"

#include "base/UserError.h"

#include "TempDataFolder.h"

#include <QDir>
#include <QFileInfo>

#include <gtest/gtest.h>

namespace {

// Folders are writable unless named here, so that the tests hold as root too.
DataFolderChoice::WritableTest writableExcept(const QStringList& readOnly) {
    return
        [readOnly](const QString& folder) { return !readOnly.contains(folder) && QFileInfo(folder).isDir(); };
}

DataFolderChoice::Environment environment(const QString& program, const QString& xdgDataHome,
                                          const QString& home) {
    return {program, xdgDataHome, home};
}

} // namespace

TEST(DataFolderChoice, TheProgramFolderServesWhileItCanBeWrittenAndTheGivenFolderAlwaysWins) {
    TempDataFolder temp;
    const QString program = temp.makeFolder(QStringLiteral("build"));
    const QString home = temp.makeFolder(QStringLiteral("home"));
    const auto env = environment(program, QString(), home);

    const DataFolderChoice own(QString(), env, writableExcept({}));
    EXPECT_EQ(own.folder(), program);
    EXPECT_FALSE(own.isUserFolder());

    const DataFolderChoice given(temp.path() + QStringLiteral("/x/../demo"), env, writableExcept({program}));
    EXPECT_EQ(given.folder(), temp.path() + QStringLiteral("/demo"));
    given.prepare();
    EXPECT_TRUE(QFileInfo(given.folder()).isDir());
    EXPECT_FALSE(temp.exists(QStringLiteral("home/.local")));
}

TEST(DataFolderChoice, AReadOnlyProgramFolderMeansTheUsersDataHome) {
    TempDataFolder temp;
    const QString program = temp.makeFolder(QStringLiteral("opt/tarvolin"));
    const QString home = temp.path() + QStringLiteral("/home");
    const auto readOnly = writableExcept({program});

    EXPECT_EQ(DataFolderChoice(QString(), environment(program, temp.path() + QStringLiteral("/xdg"), home),
                               readOnly)
                  .folder(),
              temp.path() + QStringLiteral("/xdg/tarvolin"));
    // Unset or relative, XDG_DATA_HOME is ~/.local/share.
    for (const QString& xdg : {QString(), QStringLiteral("relative/data")}) {
        const DataFolderChoice choice(QString(), environment(program, xdg, home), readOnly);
        EXPECT_EQ(choice.folder(), home + QStringLiteral("/.local/share/tarvolin"));
        EXPECT_TRUE(choice.isUserFolder());
    }
}

TEST(DataFolderChoice, TheFirstStartOfAnInstalledProgramFillsTheUsersFolderWithTheDefaultsOnce) {
    TempDataFolder temp;
    const QString bin = temp.makeFolder(QStringLiteral("usr/bin"));
    temp.writeFile(QStringLiteral("usr/share/tarvolin/zvuky/success.wav"), "RIFF");
    temp.writeFile(QStringLiteral("usr/share/tarvolin/Logo/logo.png"), "PNG");
    temp.makeFolder(QStringLiteral("usr/share/tarvolin/vysledky"));
    // Installed: even where "bin" can be written (as root can), the data go to the user's folder.
    const DataFolderChoice choice(
        QString(), environment(bin, temp.path() + QStringLiteral("/data"), QString()), writableExcept({}));
    ASSERT_EQ(choice.folder(), temp.path() + QStringLiteral("/data/tarvolin"));
    EXPECT_EQ(choice.defaultsFolder(), temp.path() + QStringLiteral("/usr/share/tarvolin"));

    choice.prepare();
    EXPECT_EQ(temp.readFile(QStringLiteral("data/tarvolin/zvuky/success.wav")), "RIFF");
    EXPECT_EQ(temp.readFile(QStringLiteral("data/tarvolin/Logo/logo.png")), "PNG");
    EXPECT_TRUE(QFileInfo(temp.filePath(QStringLiteral("data/tarvolin/vysledky"))).isDir());
    EXPECT_TRUE(QFileInfo(temp.filePath(QStringLiteral("data/tarvolin/Logo/logo.png"))).isWritable());

    // Later starts keep what the operator changed or removed.
    temp.writeFile(QStringLiteral("data/tarvolin/Logo/logo.png"), "mine");
    QFile::remove(temp.filePath(QStringLiteral("data/tarvolin/zvuky/success.wav")));
    choice.prepare();
    EXPECT_EQ(temp.readFile(QStringLiteral("data/tarvolin/Logo/logo.png")), "mine");
    EXPECT_FALSE(temp.exists(QStringLiteral("data/tarvolin/zvuky/success.wav")));
    // The program's folder itself is not touched.
    EXPECT_TRUE(QDir(bin).isEmpty());
}

TEST(DataFolderChoice, AFolderThatCannotBeWrittenIsNamedAndNotReplacedByAnother) {
    TempDataFolder temp;
    const QString program = temp.makeFolder(QStringLiteral("opt"));
    const QString user = temp.makeFolder(QStringLiteral("xdg/tarvolin"));
    const QString given = temp.makeFolder(QStringLiteral("given"));
    const auto readOnly = writableExcept({program, user, given});

    for (const QString& flag : {QString(), given}) {
        const DataFolderChoice choice(
            flag, environment(program, temp.path() + QStringLiteral("/xdg"), QString()), readOnly);
        try {
            choice.prepare();
            FAIL() << "an unwritable folder was accepted";
        } catch (const UserError& error) {
            EXPECT_TRUE(error.message().contains(QStringLiteral("„") + choice.folder() + QStringLiteral("“")))
                << error.message().toStdString();
            EXPECT_TRUE(error.message().contains(QStringLiteral("nelze zapisovat")));
        }
        EXPECT_EQ(choice.folder(), flag.isEmpty() ? user : given);
    }
    EXPECT_TRUE(QDir(user).isEmpty());
}
