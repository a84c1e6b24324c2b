#pragma once

#include <QString>

#include <functional>

// The calls the main window makes into parts of the program built after it. Each hook is filled by
// the part that supplies it (the lead wires them in main); an empty hook does nothing, so a button
// whose window is not there yet does nothing either.
struct MainWindowHooks {
    // First activation, in its order.
    // ReadSerialSection, then ReadSettingsFile's keys, which the settings window then shows (the four
    // masks in its check lists too).
    std::function<void()> readSettingsFile;
    std::function<void()> finishReadingSettings; // logo (and its notice), print texts, sound file
    std::function<void()> showPortError;         // TChyba_LptDlg, modal
    // The audience window and the live page, up before the reminders can hold the start.
    std::function<void()> displaysAtStart;
    std::function<void()> kartUpkeepAtStart;     // LoadKartStates, CheckFuel, CheckServiceTasks
    std::function<void()> recoverUnfinishedRace; // a race whose journal a crash left is ended now

    // Buttons.
    std::function<void()> showStatistics;            // TStat_Dlg
    std::function<void()> showKartStates;            // TStav_KarFrm
    std::function<void()> showSettings;              // TNastavDlg on its first page, modal
    std::function<void()> writeSerialSection;        // after the settings window opened by the button closes
    std::function<void()> showAbout;                 // TAboutBox
    std::function<void()> showDrivers;               // the drivers' window, not modal
    std::function<void()> showPrintPreview;          // TNahled2Dlg
    std::function<void()> showBestTwenty;            // TTopTen10Frm
    std::function<void(int kart)> offerToBestTwenty; // the lap list's "Vložit do tab. Top 20"

    // The first activation has run every step: the station is ready for a race.
    std::function<void()> activated;

    // Closing: after the race is at rest and the ports are closed.
    std::function<void()> writeKartEngineTimes; // "Najeto" of every kart into stav.ini

    // "&Konec" or the close button while a race runs: true to end the program. A question box with
    // Ne as the default when empty.
    std::function<bool()> confirmQuitDuringRace;

    // How a failure is shown to the operator (the application's error handler); a message box
    // when empty.
    std::function<void(const QString& message)> showError;
};
