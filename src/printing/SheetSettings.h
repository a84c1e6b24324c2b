#pragma once

#include <QDateTime>
#include <QImage>
#include <QString>

#include <array>
#include <functional>

struct TSettings;

// What both printed sheets take from the settings as they stand when a build starts (saved or not),
// the logo as loaded, and the moment of the build as texts.
struct SheetSettings {
    std::array<QString, 8> texts; // Tisk/Text1 .. Tisk/Text8
    QImage logo;                  // null: no logo
    int logoSize = 50;            // Tisk/Velikost
    bool centreLogo = true;       // Tisk/Centrovat
    int trackLength = 1;          // Trat/delka, metres
    QString dateText;
    QString timeText;
    // Kart 1..4's driver, printed over the kart's column; empty: no name.
    std::array<QString, 4> drivers;

    // The settings' print texts, logo size and centring and the track length; the date and time of
    // now in the system's short date and long time forms.
    static SheetSettings from(const TSettings& settings, const QImage& logo);
    // The system's short date form with a four-digit year, and its long time form (without a time
    // zone).
    static QString dateTextOf(const QDateTime& moment);
    static QString timeTextOf(const QDateTime& moment);
};

// The calls a build makes into the window that shows it; an empty member does nothing.
struct SheetBuildHooks {
    std::function<void(int maximum)> setProgressMaximum;
    std::function<void()> stepProgress;
    // Lets the window repaint between pages.
    std::function<void()> processEvents;
    // The short pause before the document is finished.
    std::function<void()> pause;
};

// The lines at the bottom of both sheets.
struct SheetSignature {
    static QString authorLine() { return QStringLiteral("Tarvolin ver. 2.0"); }
    static QString makerLine() { return QStringLiteral("Orvex Software"); }
    static QString contactLine() { return QString(); }
};
