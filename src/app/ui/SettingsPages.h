#pragma once

#include <QString>

#include <memory>

class AudiencePage;
class ComPortsPage;
class ControlPulse;
class DesktopShortcut;
class FtpPage;
class FtpSend;
class HwControlPage;
class LightsPage;
class PortRepair;
class PortTestPage;
class PrintPage;
class RacePage;
class HlasPage;
class QWidget;
class SensorSourceChoice;
class SerialLearnPanel;
class ShellOpen;
class SoundPage;
class SoundPlayer;
class StartEntry;
class StartupPage;
class SystemRestart;
class TComPort;
class TNastavDlg;
class TSmallPort;
class TimerFactory;
struct TSettings;

// The settings window with the pages of every area inserted in their order: "Po spuštění",
// "Semafor", "Zvuky", "Tisk", "TV výstup", "Hw. řízení na LPT portu", "COM porty", "Ftp klient",
// "Testování", "Závod", "MQTT". The window owns the pages; this keeps the window.
class SettingsPages {
public:
    // What the pages work with; a missing service makes its actions do nothing.
    struct Services {
        TSmallPort* parallelPort = nullptr;
        TimerFactory* timers = nullptr; // the port test page's repeat timer; needed with parallelPort
        TComPort* comPort = nullptr;
        SerialLearnPanel* learnPanel = nullptr;
        SensorSourceChoice* sensorSource = nullptr;
        SoundPlayer* soundPlayer = nullptr;
        StartEntry* startEntry = nullptr;
        DesktopShortcut* desktopShortcut = nullptr;
        ShellOpen* shell = nullptr;
        ControlPulse* controlPulse = nullptr; // SpinLOG0, SpinLOG1
        PortRepair* portRepair = nullptr;     // OpravLPT, with systemRestart
        SystemRestart* systemRestart = nullptr;
        FtpSend* ftpSend = nullptr; // the page "Ftp klient"; without it the page's hooks are called
        QString programPath;        // empty: the running program's file
        QString dataFolder;         // the folder of "tarvolin.ini", "zvuky" and "Logo"; empty: the program's
    };

    SettingsPages(TSettings& settings, const Services& services, QWidget* parent = nullptr);
    ~SettingsPages();
    SettingsPages(const SettingsPages&) = delete;
    SettingsPages& operator=(const SettingsPages&) = delete;

    TNastavDlg& window() { return *m_window; }
    StartupPage& startup() { return *m_startup; }
    LightsPage& lights() { return *m_lights; }
    SoundPage& sound() { return *m_sound; }
    PrintPage& print() { return *m_print; }
    RacePage& race() { return *m_race; }
    HlasPage& hlas() { return *m_hlas; }
    AudiencePage& audience() { return *m_audience; }
    HwControlPage& hwControl() { return *m_hwControl; }
    ComPortsPage& comPorts() { return *m_comPorts; }
    FtpPage& ftp() { return *m_ftp; }
    PortTestPage& portTest() { return *m_portTest; }

private:
    std::unique_ptr<TNastavDlg> m_window;
    StartupPage* m_startup;
    LightsPage* m_lights;
    SoundPage* m_sound;
    PrintPage* m_print;
    RacePage* m_race = nullptr;
    HlasPage* m_hlas = nullptr;
    AudiencePage* m_audience;
    HwControlPage* m_hwControl;
    ComPortsPage* m_comPorts;
    FtpPage* m_ftp;
    PortTestPage* m_portTest;
};
