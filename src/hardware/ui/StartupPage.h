#pragma once

#include "config/ui/SettingsPage.h"

#include <QString>

#include <functional>
#include <memory>

class DesktopShortcut;
class PortRepair;
class QButtonGroup;
class SensorSourceChoice;
class ShellOpen;
class StartEntry;
class SystemRestart;
class TSmallPort;

namespace Ui {
class StartupPage;
}

// The settings page "Po spuštění": the parallel port chosen and its state after start-up, the track
// length, the start with the system, the desktop shortcut, the updater and the sensor source. The
// pages "Semafor" and "Testování" follow its port choice.
class StartupPage : public SettingsPage {
    Q_OBJECT

public:
    // What the page works with; a missing service makes its action do nothing.
    struct Services {
        TSmallPort* parallelPort = nullptr;
        SensorSourceChoice* sensorSource = nullptr;
        StartEntry* startEntry = nullptr;
        DesktopShortcut* desktopShortcut = nullptr;
        ShellOpen* shell = nullptr;
        PortRepair* portRepair = nullptr; // OpravLPT, with systemRestart
        SystemRestart* systemRestart = nullptr;
        QString programPath; // empty: the running program's file
    };

    // Work of later parts of the program; an empty hook does nothing.
    struct Hooks {
        std::function<void()> resetBestTwenty; // "Vynuluj tabulky Nej 20"
        std::function<void()> showBackup;      // "Zálohování"
    };

    StartupPage(TSettings& settings, Services services, QWidget* parent = nullptr);
    ~StartupPage() override;

    Hooks& hooks() { return m_hooks; }
    // The port chosen: 1 LPT1, 2 LPT2, 3 the base of LPTxx_BASE.
    int portChoice() const;
    QString thirdBase() const;

    // Writes the resting value of the data pins when the settings are saved.
    void fillSettingsHooks(SettingsHooks& hooks) override;

    // The handlers, named after their controls. StartPortClick also serves the lights page's choice,
    // which always follows this page's.
    void StartPortClick();
    void BitBtn1Click();
    void po_spusteniClick();
    void BitBtn2Click();
    void cbLPTClick();
    void cbCOMClick();
    // Exactly one sensor source stays chosen; the parallel port follows it.
    void chooseSensorSource(bool lptBox, bool checked);
    void OpravLPTClick();

signals:
    void portChoiceChanged(int choice);
    void thirdBaseChanged(const QString& text);

private:
    void bindControls();
    void connectActions();
    QString programPath() const;

    std::unique_ptr<Ui::StartupPage> ui;
    Services m_services;
    Hooks m_hooks;
    QButtonGroup* m_priorityGroup = nullptr;
};
