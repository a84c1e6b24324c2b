#pragma once

#include "config/TSettings.h"
#include "platform/DesktopShellOpen.h"
#include "platform/KernelModules.h"
#include "platform/SystemRestart.h"
#include "platform/XdgDesktopShortcut.h"
#include "platform/XdgStartEntry.h"
#include "rankings/BestTwentyEntry.h"
#include "rankings/BestTwentyTables.h"

#include <QDate>
#include <QList>
#include <QPoint>
#include <QRect>
#include <QString>

#include <array>
#include <memory>
#include <optional>

class BestTwentyTables;
class CalloutStation;
class FtpClient;
class FtpSend;
class PortRepair;
class SensorSourceChoice;
class SerialLearnPanel;
class SettingsPages;
class TAboutBox;
class TChyba_LptDlg;
class TForm1;
class TNastavDlg;
class PrinterSetup;
class TNahled1Dlg;
class TNahled2Dlg;
class TJezdciDlg;
class KartUpkeep;
class LiveRaceFeed;
class MqttLink;
class LiveResults;
class TRaceProgress;
class TTV_Out_Frm;
class THlaseniDlg;
class TPotvrdDlg;
class TStat_Dlg;
class TStav_KarFrm;
class TTopTen10Frm;
class TUpravDlg;
class TUpravDlg1;
class TUkonceniDlg;
class TZalohujFrm;
class TSplashScreen;
class VirtualTrack;
class VirtualTrackWindow;
struct CommandLineOptions;

// The program's windows and what they share, made once at start in their fixed order behind the
// splash window, with each window's hooks filled by the window that owns the work. Everything lives
// until the program ends.
class ProgramWindows {
public:
    // Throws UserError when the options cannot be followed (a scenario file that cannot be read or
    // has bad lines); nothing is shown then.
    explicit ProgramWindows(const CommandLineOptions& options);
    ~ProgramWindows();
    ProgramWindows(const ProgramWindows&) = delete;
    ProgramWindows& operator=(const ProgramWindows&) = delete;

    // Shows the main window (and the virtual track's window beside it) and ends the event loop when
    // the main window has closed; SIGTERM and SIGINT close it as "&Konec" does.
    void show();

    const QString& dataFolder() const { return m_dataFolder; }
    TSettings& settings() { return m_settings; }
    TForm1& mainWindow() { return *m_form; }
    TNastavDlg& settingsWindow() { return *m_nastav; }
    TZalohujFrm& backupWindow() { return *m_zalohuj; }
    VirtualTrack* track() { return m_track.get(); }
    // The one printer and its setup dialog, for every window that prints.
    PrinterSetup& printerSetup() { return *m_printers; }
    TTV_Out_Frm& audienceWindow() { return *m_tvOut; }
    LiveResults& liveResults() { return *m_liveResults; }

private:
    void createWindows(const CommandLineOptions& options, TSplashScreen& splash);
    void createSettingsWindow();
    void makeTablePictures(const QString& menPath, const QString& womenPath);
    void fillMainWindowHooks();
    void createBestTwentyWindow();
    void fillBestTwentyHooks();
    void createKartUpkeepWindows();
    void fillKartUpkeepHooks();
    void createStatisticsWindow();
    void fillStatisticsHooks();
    void createPreviewWindow(bool results);
    void fillPrintingHooks();
    void fillBackupHooks();
    // A successful restore's end: no further write, no question, every window closed.
    void endAfterRestore();
    // The best-twenty insertions' view of kart 1..4: its laps and its two boxes.
    std::array<KartEntry, 4> kartEntries() const;
    QDate raceDate() const;
    // Whether kart 1..4's lap would enter its driver's best-twenty table as last read: a new record.
    bool isRecord(int kart, qint64 lapMs) const;
    void placeTrackWindow();
    // The audience window and the live results page.
    void createAudienceWindow();
    void fillAudienceHooks();
    // Shown where `TVOUT/Pouzit` asks for it, hidden otherwise.
    void placeAudienceWindow();
    static QList<QRect> screenGeometries();
    // The screen right of the primary one; else where the operator last put it; else beside the main
    // window.
    QPoint audiencePlace() const;
    // Where the operator moved the window on a lone screen, into `TVOUT/Poloha`.
    void rememberAudiencePlace();
    // A window closed or minimised while `TVOUT/Pouzit` is on comes back.
    void showAudienceAgain();
    // Unticking the see-through box: the window anew, in its ordinary shape and first content.
    void rebuildAudienceWindow();
    // The page's two top-ten lists from the best-twenty files.
    void reloadPageTopTen();
    void applyWebPage();
    void showPageAddress();

    QString m_dataFolder;
    TSettings m_settings;
    // The operating system's services the settings window uses.
    ModprobeKernelModules m_kernelModules;
    SystemctlRestart m_systemRestart;
    XdgStartEntry m_startEntry;
    XdgDesktopShortcut m_desktopShortcut;
    DesktopShellOpen m_shell;

    std::unique_ptr<VirtualTrack> m_track;
    std::unique_ptr<TForm1> m_form;
    std::unique_ptr<TRaceProgress> m_progress;
    std::unique_ptr<TTV_Out_Frm> m_tvOut;
    std::optional<QPoint> m_audiencePlacedAt; // where the station last put it
    std::unique_ptr<LiveResults> m_liveResults;
    std::unique_ptr<LiveRaceFeed> m_liveFeed;
    std::unique_ptr<MqttLink> m_mqtt;
    std::unique_ptr<TChyba_LptDlg> m_chybaLpt;
    std::unique_ptr<PortRepair> m_portRepair;
    std::unique_ptr<SerialLearnPanel> m_learnPanel;
    std::unique_ptr<SensorSourceChoice> m_sensorSource;
    std::unique_ptr<TAboutBox> m_about;
    std::unique_ptr<FtpClient> m_ftpClient;
    std::unique_ptr<FtpSend> m_ftpSend;
    std::unique_ptr<SettingsPages> m_settingsPages;
    TNastavDlg* m_nastav = nullptr; // the window of m_settingsPages
    std::unique_ptr<BestTwentyTables> m_bestTwenty;
    BestTwentyEntry m_records; // the tables as the page last read them
    // The spoken call-outs; after the windows whose hooks it shares.
    std::unique_ptr<CalloutStation> m_callouts;
    std::unique_ptr<TUpravDlg1> m_upravDlg1;
    std::unique_ptr<TUpravDlg> m_upravDlg;
    std::unique_ptr<TTopTen10Frm> m_topTen;
    std::unique_ptr<KartUpkeep> m_upkeep;
    std::unique_ptr<THlaseniDlg> m_hlaseni;
    std::unique_ptr<TPotvrdDlg> m_potvrd;
    std::unique_ptr<TStav_KarFrm> m_stavKar;
    std::unique_ptr<TStat_Dlg> m_stat;
    std::unique_ptr<PrinterSetup> m_printers;
    std::unique_ptr<TNahled1Dlg> m_nahled1;
    std::unique_ptr<TNahled2Dlg> m_nahled2;
    std::unique_ptr<TJezdciDlg> m_jezdci; // the drivers' window, not modal
    std::unique_ptr<VirtualTrackWindow> m_trackWindow;
    std::unique_ptr<TUkonceniDlg> m_ukonceni;
    std::unique_ptr<TZalohujFrm> m_zalohuj;
    // After a restore the files on disk are the restored ones: nothing writes them again (stav.ini,
    // the serial section of tarvolin.ini, the tables of a STOP), and no race starts or stops.
    bool m_keepRestoredFiles = false;
};
