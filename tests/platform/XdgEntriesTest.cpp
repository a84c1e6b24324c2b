// The start entry and the desktop launcher as freedesktop.org files, in a temporary home.
#include "base/UserError.h"
#include "platform/DesktopEntryFile.h"
#include "platform/XdgDesktopShortcut.h"
#include "platform/XdgPaths.h"
#include "platform/XdgStartEntry.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

QString readText(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

void writeText(const QString& path, const QByteArray& text) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(text);
}

class XdgEntries : public ::testing::Test {
protected:
    QTemporaryDir home;
    XdgPaths paths() const { return XdgPaths::underHome(home.path()); }
};

} // namespace

TEST(DesktopEntryFile, ExecQuotesThePathAndEscapesReservedCharacters) {
    EXPECT_EQ(DesktopEntryFile::quoteExecArgument(QStringLiteral("/opt/tar volin/tarvolin")),
              QStringLiteral("\"/opt/tar volin/tarvolin\""));
    EXPECT_EQ(DesktopEntryFile::quoteExecArgument(QStringLiteral("/a$b`c\"d")),
              QStringLiteral("\"/a\\$b\\`c\\\"d\""));
    DesktopEntryFile entry;
    entry.addExec(QStringLiteral("/x\\y/100%/t"));
    // The quoting's backslash is escaped again as a string value; a percent sign is doubled.
    EXPECT_TRUE(
        QString::fromUtf8(entry.content()).contains(QStringLiteral("Exec=\"/x\\\\\\\\y/100%%/t\"\n")));
}

TEST_F(XdgEntries, DesktopFolderComesFromUserDirsElseDesktop) {
    EXPECT_EQ(paths().desktopDir(), home.path() + QStringLiteral("/Desktop"));
    writeText(home.path() + QStringLiteral("/.config/user-dirs.dirs"),
              "# comment\nXDG_DOCUMENTS_DIR=\"$HOME/Dokumenty\"\nXDG_DESKTOP_DIR=\"$HOME/Plocha\"\n");
    EXPECT_EQ(paths().desktopDir(), home.path() + QStringLiteral("/Plocha"));
}

TEST_F(XdgEntries, ShortcutIsAnExecutableLauncherOfTheProgram) {
    XdgDesktopShortcut shortcut(paths());
    shortcut.create(QStringLiteral("/opt/tarvolin 2/tarvolin"));
    const QString file = home.path() + QStringLiteral("/Desktop/Tarvolin ver. 2.0 Final.desktop");
    ASSERT_EQ(shortcut.filePath(), file);
    const QString text = readText(file);
    EXPECT_TRUE(text.startsWith(QStringLiteral("[Desktop Entry]\n")));
    EXPECT_TRUE(text.contains(QStringLiteral("\nType=Application\n")));
    EXPECT_TRUE(text.contains(QStringLiteral("\nExec=\"/opt/tarvolin 2/tarvolin\"\n")));
    EXPECT_TRUE(text.contains(QStringLiteral("\nPath=/opt/tarvolin 2\n")));
    EXPECT_TRUE(text.contains(QStringLiteral("\nComment=tarvolin ver. 2.0 Final\n")));
    EXPECT_TRUE(QFile::permissions(file) & QFile::ExeOwner);

    // A second creation overwrites the first.
    shortcut.create(QStringLiteral("/usr/bin/tarvolin"));
    EXPECT_TRUE(readText(file).contains(QStringLiteral("\nExec=\"/usr/bin/tarvolin\"\n")));
}

TEST_F(XdgEntries, LaunchersCarryTheDataFolderTheProgramWasStartedWith) {
    const QStringList arguments = {QStringLiteral("--data"), QStringLiteral("/srv/dráha 1")};
    XdgDesktopShortcut shortcut(paths());
    shortcut.setProgramArguments(arguments);
    shortcut.create(QStringLiteral("/usr/bin/tarvolin"));
    XdgStartEntry entry(paths());
    entry.setProgramArguments(arguments);
    entry.setEnabled(true, QStringLiteral("/usr/bin/tarvolin"));
    for (const QString& file : {shortcut.filePath(), entry.filePath()})
        EXPECT_TRUE(readText(file).contains(
            QStringLiteral("\nExec=\"/usr/bin/tarvolin\" \"--data\" \"/srv/dráha 1\"\n")))
            << readText(file).toStdString();
}

TEST_F(XdgEntries, StartEntryIsWrittenWithTheCurrentPathAndRemoved) {
    XdgStartEntry entry(paths());
    const QString file = home.path() + QStringLiteral("/.config/autostart/tarvolin.desktop");
    ASSERT_EQ(entry.filePath(), file);
    EXPECT_FALSE(entry.isEnabled());
    entry.setEnabled(false, QStringLiteral("/opt/old/tarvolin")); // nothing to remove
    EXPECT_FALSE(entry.isEnabled());

    entry.setEnabled(true, QStringLiteral("/opt/old/tarvolin"));
    EXPECT_TRUE(entry.isEnabled());
    entry.setEnabled(true, QStringLiteral("/opt/new/tarvolin"));
    const QString text = readText(file);
    EXPECT_TRUE(text.contains(QStringLiteral("\nExec=\"/opt/new/tarvolin\"\n")));
    EXPECT_FALSE(text.contains(QStringLiteral("old")));

    entry.setEnabled(false, QStringLiteral("/opt/new/tarvolin"));
    EXPECT_FALSE(QFile::exists(file));
}

TEST_F(XdgEntries, UnwritableFolderIsReportedAsAUserError) {
    // A file where the autostart folder should be.
    writeText(home.path() + QStringLiteral("/.config/autostart"), "not a folder");
    XdgStartEntry entry(paths());
    EXPECT_THROW(entry.setEnabled(true, QStringLiteral("/opt/tarvolin")), UserError);
}
