#pragma once

#include "base/Hooks.h"
#include "config/SerialParameters.h"

#include <QImage>
#include <QString>
#include <QtGlobal>

#include <functional>

// The steps of reading and writing the settings file that act on other parts of the program. Those
// parts fill the members they own; a member left empty does nothing. They are called in the order
// listed here.
struct SettingsHooks {
    // The serial port's current parameters: the defaults when the section "ComPort1" is read, and
    // what is stored in it. Empty: the built-in parameters, and the section is not stored.
    std::function<SerialParameters()> serialParameters;

    // --- ReadSettingsFile ---
    // The section "ComPort1" has been read into the parameters: apply them to the port as one change.
    std::function<void(const SerialParameters& parameters)> applySerialParameters;
    // The logo picture of Tisk/Logo loaded: show it (LogoImage1).
    std::function<void(const QImage& logo)> logoLoaded;
    // The logo could not be loaded (Tisk/Logo is now empty): start the logo chooser in logoFolder
    // ("Logo" beside the program) and show the notice TLogoErrDlg modally.
    std::function<void(const QString& logoFolder)> logoUnavailable;
    // Point the sound file tree at soundFolder ("zvuky" beside the program) and select fileName in it
    // (Zvuk/jmeno, or "success.wav" when the configured file is missing).
    std::function<void(const QString& soundFolder, const QString& fileName)> selectSoundFile;

    // --- WriteSettingsFile ---
    // Before anything is written.
    std::function<void()> abortFtpTransfer;
    std::function<void()> closeSerialPort;
    // After the file has been written.
    std::function<void(bool watch)> applyExternalStart;     // Ostatni/ExtStart
    std::function<void(int priority)> applyProcessPriority; // Ostatni/Priorita, 0..3; others change nothing
    std::function<void()> applyWebPage;                     // Web/Pouzit and Web/Port
    std::function<void()> applyMqtt;                        // the section "MQTT"
    // Ostatni/OnTop differs from its value at the settings window's activation: show TVzdyNavrchuDlg.
    std::function<void()> onTopChanged;
    // Write Po spusteni/Base to the data register at the base chosen by Po spusteni/Port, when the
    // parallel port is open (the owner of the port decides).
    std::function<void(quint8 value)> writeRestingValue;
};
