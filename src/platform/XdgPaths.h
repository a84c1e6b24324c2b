#pragma once

#include <QString>

// The per-user folders of the freedesktop.org conventions that the start entry and the desktop
// shortcut use. Tests build one over a temporary home; the program takes the environment's.
struct XdgPaths {
    QString home;
    QString configHome; // $XDG_CONFIG_HOME, else ~/.config

    static XdgPaths fromEnvironment();
    static XdgPaths underHome(const QString& home);

    // $XDG_CONFIG_HOME/autostart
    QString autostartDir() const;
    // XDG_DESKTOP_DIR of user-dirs.dirs, else ~/Desktop
    QString desktopDir() const;
};
