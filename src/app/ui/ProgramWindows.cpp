#include "app/ui/ProgramWindows.h"

#include "app/CommandLineOptions.h"
#include "app/ui/CalloutStation.h"
#include "app/ui/MqttLink.h"
#include "app/ui/RaceRecovery.h"
#include "app/ui/SettingsPages.h"
#include "app/ui/TarvolinApplication.h"
#include "backup/ui/ukonceni.h"
#include "backup/ui/zalohovani.h"
#include "base/ErrorBoundary.h"
#include "base/MonotonicClock.h"
#include "base/UserError.h"
#include "config/DataFolder.h"
#include "config/DataFolderChoice.h"
#include "config/SettingsFile.h"
#include "config/ui/About.h"
#include "config/ui/nastaveni.h"
#include "display/AudiencePlacement.h"
#include "display/LanAddress.h"
#include "display/LiveRaceFeed.h"
#include "display/LiveResults.h"
#include "display/TRaceProgress.h"
#include "display/ui/AudiencePage.h"
#include "display/ui/TV_OUT.h"
#include "hardware/ExternalStartWatch.h"
#include "hardware/PortBackend.h"
#include "hardware/PortBackendFactory.h"
#include "hardware/PortRepair.h"
#include "hardware/SensorSourceChoice.h"
#include "hardware/SerialLearnPanel.h"
#include "hardware/SerialSensorInput.h"
#include "hardware/TComPort.h"
#include "hardware/TSmallPort.h"
#include "hardware/VirtualTrack.h"
#include "hardware/ui/Chyba_LPT.h"
#include "hardware/ui/StartupPage.h"
#include "hardware/ui/VirtualTrackWindow.h"
#include "platform/ProcessPriority.h"
#include "platform/SoundPlayback.h"
#include "printing/KeptRacePdf.h"
#include "printing/SheetSettings.h"
#include "printing/ui/PrintPage.h"
#include "printing/ui/PrinterSetup.h"
#include "printing/ui/nahled1.h"
#include "printing/ui/nahled2.h"
#include "rankings/BestTwentyTables.h"
#include "rankings/FtpClient.h"
#include "rankings/FtpSend.h"
#include "rankings/ui/BestTwentyReset.h"
#include "rankings/ui/FtpPage.h"
#include "rankings/ui/JezdciDlg.h"
#include "rankings/ui/TopTen10.h"
#include "rankings/ui/UpravDlg.h"
#include "rankings/ui/UpravDlg1.h"
#include "stats/ui/Statistika.h"
#include "timing/LapList.h"
#include "timing/Station.h"
#include "timing/TRace.h"
#include "timing/ThreadedTimerFactory.h"
#include "timing/ui/MainStatusBar.h"
#include "timing/ui/Splash.h"
#include "timing/ui/hwunit.h"
#include "upkeep/KartUpkeep.h"
#include "upkeep/ui/Hlaseni.h"
#include "upkeep/ui/Potvrd.h"
#include "upkeep/ui/stav_kar.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDialog>
#include <QDir>
#include <QGuiApplication>
#include <QMessageBox>
#include <QScreen>

#include <functional>
#include <vector>

namespace {

// The data folder, ready for use; throws UserError naming a folder that cannot be used.
QString preparedDataFolder(const CommandLineOptions& options) {
    const DataFolderChoice choice(options.dataFolder, DataFolderChoice::Environment::current());
    choice.prepare();
    return choice.folder();
}

} // namespace

ProgramWindows::ProgramWindows(const CommandLineOptions& options)
    : m_dataFolder(preparedDataFolder(options)) {
    // A station started on another data folder starts on it again from its launchers.
    if (!options.dataFolder.isEmpty()) {
        m_startEntry.setProgramArguments({QStringLiteral("--data"), m_dataFolder});
        m_desktopShortcut.setProgramArguments({QStringLiteral("--data"), m_dataFolder});
    }
    m_track = PortBackendFactory::createTrack(options.port(), m_settings, SteadyClock::instance());
    TSplashScreen splash;
    splash.showCentred();
    splash.setProgress(5);
    createWindows(options, splash);
    fillMainWindowHooks();
    fillBestTwentyHooks();
    fillKartUpkeepHooks();
    fillStatisticsHooks();
    fillPrintingHooks();
    fillBackupHooks();
    fillAudienceHooks();
    m_callouts = std::make_unique<CalloutStation>(
        m_settings, *m_form, [this](int kart, qint64 lapMs) { return isRecord(kart, lapMs); },
        m_settingsPages->hlas());
}

ProgramWindows::~ProgramWindows() {
    // The main window goes last and may still put a race at rest: it no longer tells the audience
    // window and the page, which go before it.
    if (m_form) {
        RaceHooks& race = m_form->race().hooks();
        race.audienceClock = {};
        race.audienceRaceLength = {};
        race.raceStarted = {};
        race.raceAtRest = {};
        race.raceKept = {};
        race.chequeredFlag = {};
        race.stoppedByItself = {};
        race.startStopAllowed = {};
    }
    if (m_bestTwenty) {
        m_bestTwenty->hooks().audienceReload = {};
        m_bestTwenty->hooks().tablesChanged = {};
    }
    // The page's server first: its thread must not outlive what it was told about.
    m_liveResults.reset();
    m_mqtt.reset();
}

void ProgramWindows::createWindows(const CommandLineOptions& options, TSplashScreen& splash) {
    // One window of the start: its progress figure (negative: no progress step) and how it is made. A
    // window not built yet has no maker.
    struct Step {
        const char* name;
        int progress;
        std::function<void()> create;
    };
    const DataFolder folder(m_dataFolder);
    const std::vector<Step> steps = {
        {"TForm1", 10,
         [&] {
             TForm1Deps deps{m_settings, m_dataFolder,
                             PortBackendFactory::createBackend(options.port(), m_track.get())};
             deps.readCreationSettings = [folder](TSettings& s) { ReadWindowCreationSettings(folder, s); };
             m_form = std::make_unique<TForm1>(std::move(deps));
         }},
        {"TLogoErrDlg", 15, {}},
        {"TTV_Out_Frm", 20, [&] { createAudienceWindow(); }},
        {"TUkonceniDlg", 25, [&] { m_ukonceni = std::make_unique<TUkonceniDlg>(m_form.get()); }},
        {"TUpravDlg1", 30, [&] { m_upravDlg1 = std::make_unique<TUpravDlg1>(m_form.get()); }},
        {"TZalohujFrm", 35,
         [&] { m_zalohuj = std::make_unique<TZalohujFrm>(m_dataFolder, *m_ukonceni, m_form.get()); }},
        {"TRestartDlg", 40, {}},
        {"TChyba_LptDlg", 45, [&] { m_chybaLpt = std::make_unique<TChyba_LptDlg>(m_form.get()); }},
        {"TNahled1Dlg", 50, [&] { createPreviewWindow(false); }},
        {"TUpravDlg", 55, [&] { m_upravDlg = std::make_unique<TUpravDlg>(m_form.get()); }},
        {"TTopTen10Frm", 60, [&] { createBestTwentyWindow(); }},
        {"TVzdyNavrchuDlg", 65, {}},
        {"THlaseniDlg", 70, [&] { createKartUpkeepWindows(); }},
        {"TAboutBox", 75,
         [&] {
             m_about = std::make_unique<TAboutBox>(&m_shell, m_form.get());
             m_about->setDataFolder(m_dataFolder);
         }},
        {"TNastavDlg", 80, [&] { createSettingsWindow(); }},
        {"TNahled2Dlg", 85, [&] { createPreviewWindow(true); }},
        {"TStat_Dlg", 90, [&] { createStatisticsWindow(); }},
        {"TStav_KarFrm", 100, {}},
        {"TPotvrdDlg", -1, {}},
    };
    for (const Step& step : steps) {
        if (step.create)
            step.create();
        if (step.progress >= 0)
            splash.setProgress(step.progress);
    }
}

void ProgramWindows::createSettingsWindow() {
    Station& station = m_form->station();
    m_learnPanel = std::make_unique<SerialLearnPanel>(m_settings, station.comPort());
    station.serialInput().setLearnPanel(m_learnPanel.get());
    m_sensorSource = std::make_unique<SensorSourceChoice>(m_settings, station.port());
    m_portRepair = std::make_unique<PortRepair>(m_kernelModules, &station.port());
    SettingsPages::Services services;
    services.parallelPort = &station.port();
    services.timers = &ThreadedTimerFactory::instance();
    services.comPort = &station.comPort();
    services.learnPanel = m_learnPanel.get();
    services.sensorSource = m_sensorSource.get();
    services.soundPlayer = &m_form->MediaPlayer1();
    services.startEntry = &m_startEntry;
    services.desktopShortcut = &m_desktopShortcut;
    services.shell = &m_shell;
    services.controlPulse = &station.controlPulse();
    services.portRepair = m_portRepair.get();
    services.systemRestart = &m_systemRestart;
    services.dataFolder = m_dataFolder;
    // The FTP client lives with the settings window, whose page "Ftp klient" drives it.
    m_ftpClient = std::make_unique<FtpClient>();
    m_ftpSend = std::make_unique<FtpSend>(m_settings, *m_ftpClient);
    m_ftpSend->hooks().makeTablePictures = [this](const QString& men, const QString& women) {
        makeTablePictures(men, women);
    };
    services.ftpSend = m_ftpSend.get();
    // The window with every area's page inserted.
    m_settingsPages = std::make_unique<SettingsPages>(m_settings, services, m_form.get());
    m_nastav = &m_settingsPages->window();
    m_nastav->hooks().closeMainWindow = [this] { m_form->close(); };

    // Saving the settings acts on two parts that are not the settings window's own.
    SettingsHooks& saving = m_nastav->settingsHooks();
    saving.applyExternalStart = [&station](bool watch) { station.externalStart().setEnabled(watch); };
    saving.applyProcessPriority = [](int priority) { ProcessPriority::apply(priority); };
}

void ProgramWindows::makeTablePictures(const QString& menPath, const QString& womenPath) {
    // The tables drawn as the best-twenty window shows them, without opening it: the settings window,
    // from which the upload was started, stays in front.
    m_topTen->saveFtpPictures(menPath, womenPath);
}

void ProgramWindows::createBestTwentyWindow() {
    m_bestTwenty = std::make_unique<BestTwentyTables>(m_dataFolder, m_settings);
    m_topTen = std::make_unique<TTopTen10Frm>(*m_bestTwenty, *m_upravDlg, *m_upravDlg1, m_form.get());
    m_topTen->setSaveDialogs(&m_form->lapFileDialogs());
    m_topTen->setDataFolder(m_dataFolder);
}

std::array<KartEntry, 4> ProgramWindows::kartEntries() const {
    std::array<KartEntry, 4> karts;
    for (int kart = 1; kart <= 4; ++kart)
        karts[kart - 1] = {m_form->lapList(kart).entries(), m_form->womanDrives(kart),
                           m_form->excludedFromBestTwenty(kart), m_form->station().driverNames().name(kart)};
    return karts;
}

bool ProgramWindows::isRecord(int kart, qint64 lapMs) const {
    // As the insertion at STOP offers it: a kart not taking part in the tables sets no record.
    return !m_form->excludedFromBestTwenty(kart) && m_records.takes(m_form->womanDrives(kart), lapMs);
}

QDate ProgramWindows::raceDate() const {
    const QDateTime started = m_form->race().startWallTime();
    return started.isValid() ? started.date() : QDate::currentDate();
}

void ProgramWindows::fillBestTwentyHooks() {
    BestTwentyHooks& tables = m_bestTwenty->hooks();
    tables.showWindow = [this] { m_topTen->exec(); };
    // A missing applause is said once; the new record and its window stand without it.
    tables.playApplause = [this] {
        SoundPlayback::play(m_form->MediaPlayer1(),
                            DataFolder(m_dataFolder).filePath(QStringLiteral("zvuky/prg/applause.wav")));
    };
    m_form->race().hooks().TopTenDeset = [this] { m_bestTwenty->TopTenDeset(kartEntries(), raceDate()); };
    MainWindowHooks& main = m_form->hooks();
    main.offerToBestTwenty = [this](int kart) {
        m_bestTwenty->insertByHand(kart, kartEntries()[kart - 1], raceDate());
    };
    main.showBestTwenty = [this] { m_topTen->exec(); };
    m_settingsPages->startup().hooks().resetBestTwenty = [this] {
        askAndResetBestTwenty(m_nastav, *m_bestTwenty);
    };
    m_topTen->hooks().showFtpSettings = [this] { m_nastav->execOnPage(&m_settingsPages->ftp()); };
}

void ProgramWindows::createKartUpkeepWindows() {
    m_upkeep = std::make_unique<KartUpkeep>(m_dataFolder);
    m_hlaseni = std::make_unique<THlaseniDlg>(m_upkeep->reminders(), m_form.get());
    m_potvrd = std::make_unique<TPotvrdDlg>(
        &m_form->MediaPlayer1(), DataFolder(m_dataFolder).filePath(QStringLiteral("zvuky/prg/potvrd.wav")),
        m_form.get());
    m_stavKar = std::make_unique<TStav_KarFrm>(*m_upkeep, *m_potvrd, m_form.get());
}

void ProgramWindows::fillKartUpkeepHooks() {
    RaceHooks& race = m_form->race().hooks();
    race.addDriven = [this](int kart, qint64 seconds) { m_upkeep->addDriven(kart, seconds); };
    race.UpdateFuelFigures = [this] { m_stavKar->UpdateFuelFigures(); };
    race.CheckFuel = [this] { m_upkeep->CheckFuel(); };
    race.kartStateOk = [this] { m_upkeep->store(); };
    race.showRemindersIfAny = [this] { m_hlaseni->showIfAny(); };

    MainWindowHooks& main = m_form->hooks();
    main.kartUpkeepAtStart = [this] {
        // What the file could not give is said once; the checks run on what it gave.
        const QStringList problems = m_upkeep->load();
        if (!problems.isEmpty())
            ErrorBoundary::reportMessage(problems.join(QLatin1Char('\n')));
        m_upkeep->CheckFuel();
        m_upkeep->CheckServiceTasks();
        m_hlaseni->showIfAny();
    };
    main.writeKartEngineTimes = [this] {
        if (!m_keepRestoredFiles)
            m_upkeep->storeDriven();
    };
    main.showKartStates = [this] { m_stavKar->exec(); };
}

void ProgramWindows::createStatisticsWindow() {
    m_stat =
        std::make_unique<TStat_Dlg>(std::array<const LapList*, 4>{&m_form->lapList(1), &m_form->lapList(2),
                                                                  &m_form->lapList(3), &m_form->lapList(4)},
                                    m_form.get());
    m_stat->setSaveDialogs(&m_form->lapFileDialogs());
}

void ProgramWindows::fillStatisticsHooks() {
    m_stat->hooks().showBestTwenty = [this] { m_topTen->exec(); };
    m_form->hooks().showStatistics = [this] { m_stat->exec(); };
    // The chart prints on the program's one printer, through the dialog the previews share.
    m_stat->setPrinter(&m_printers->printer());
    m_stat->hooks().setUpPrinter = m_printers->dialogFor(m_stat.get(), QStringLiteral("graf"));
}

void ProgramWindows::createPreviewWindow(bool results) {
    if (!m_printers)
        m_printers = std::make_unique<PrinterSetup>();
    const QString pdfFolder = DataFolder(m_dataFolder).folderPath(QStringLiteral("vysledky"));
    m_printers->setFileFolder(pdfFolder);
    if (results) {
        m_nahled2 = std::make_unique<TNahled2Dlg>(*m_printers, m_form.get());
        m_nahled2->setPdfFolder(pdfFolder);
    } else {
        m_nahled1 = std::make_unique<TNahled1Dlg>(*m_printers, m_form.get());
        m_nahled1->setPdfFolder(pdfFolder);
    }
}

void ProgramWindows::fillPrintingHooks() {
    // The sheets read the settings as the settings window holds them, saved or not.
    const auto sheetSettings = [this] {
        SheetSettings sheet = SheetSettings::from(m_settings, m_settingsPages->print().logoPicture());
        for (int kart = 1; kart <= 4; ++kart)
            sheet.drivers[kart - 1] = m_form->station().driverNames().name(kart);
        return sheet;
    };
    m_nahled2->setSettingsSource(sheetSettings);
    m_nahled2->setLapSource([this] {
        std::array<QStringList, 4> laps;
        for (int kart = 1; kart <= 4; ++kart)
            laps[kart - 1] = m_form->lapList(kart).entries();
        return laps;
    });
    m_nahled1->setSettingsSource(sheetSettings);
    m_nahled1->setPictureSource([this] {
        return std::array<QImage, 2>{m_topTen->tablePicture(BestTwentyTables::Men),
                                     m_topTen->tablePicture(BestTwentyTables::Women)};
    });
    m_form->hooks().showPrintPreview = [this] { m_nahled2->exec(); };
    // A race that stopped by itself prints its results when `Zavod/Tisk` asks for it.
    m_form->race().hooks().stoppedByItself = [this] {
        if (m_settings.Zavod.Tisk)
            ErrorBoundary::guarded([this] { m_nahled2->printUnattended(QDateTime::currentDateTime()); });
    };
    m_jezdci = std::make_unique<TJezdciDlg>(m_form->driverNames(), m_settings, m_dataFolder, m_form.get());
    m_form->hooks().showDrivers = [this] { m_jezdci->showDrivers(); };
    m_settingsPages->print().hooks().showResultsPreview = [this] { m_nahled2->exec(); };
    m_topTen->hooks().showPrintPreview = [this] { m_nahled1->exec(); };
}

void ProgramWindows::fillBackupHooks() {
    m_settingsPages->startup().hooks().showBackup = [this] { m_zalohuj->exec(); };
    // A successful restore ends the program, which reads the restored files at its next start.
    m_zalohuj->hooks().restored = [this] { endAfterRestore(); };
    m_zalohuj->hooks().raceRunning = [this] { return m_form->race().running(); };
    // The archive code lets events run between blocks: the external start button must not start or
    // stop a race on the files being backed up or restored.
    m_form->race().hooks().startStopAllowed = [this] {
        if (m_keepRestoredFiles)
            return false;
        if (!m_zalohuj->Backupfile1().Busy())
            return true;
        m_form->statusBarPanels().showMessage(
            QStringLiteral("Během zálohování nebo obnovy nelze spustit ani zastavit závod."), 10000);
        return false;
    };
}

// The files on disk are now the restored ones, read at the next start. From here nothing writes a
// data file (the hooks that would check m_keepRestoredFiles), and the program ends without a
// question: every window still open closes, so the one the restore was started from returns at once.
void ProgramWindows::endAfterRestore() {
    m_keepRestoredFiles = true;
    m_form->hooks().confirmQuitDuringRace = [] { return true; };
    for (QWidget* modal = QApplication::activeModalWidget(); modal;) {
        if (auto* dialog = qobject_cast<QDialog*>(modal))
            dialog->done(QDialog::Rejected);
        else
            modal->close();
        QWidget* next = QApplication::activeModalWidget();
        modal = next == modal ? nullptr : next;
    }
    m_form->close();
}

void ProgramWindows::fillMainWindowHooks() {
    MainWindowHooks& hooks = m_form->hooks();
    // The settings window reads the settings file; the section "ComPort1" is stored whenever the
    // window opened by the main window's button closes.
    hooks.readSettingsFile = [this] { m_nastav->readSettingsFileKeys(); };
    hooks.finishReadingSettings = [this] { m_nastav->finishReadingSettingsFile(); };
    hooks.showSettings = [this] { m_nastav->execFromMainWindow(); };
    hooks.writeSerialSection = [this] {
        if (!m_keepRestoredFiles)
            m_nastav->writeSerialSection();
    };
    hooks.showAbout = [this] { m_about->exec(); };
    hooks.showPortError = [this] { m_chybaLpt->exec(); };
    // Spectators see the station while the operator reads the reminders.
    hooks.displaysAtStart = [this] {
        placeAudienceWindow();
        reloadPageTopTen();
        applyWebPage();
        m_mqtt->apply();
    };
    // A scenario's times count from here, however long the start took.
    hooks.activated = [this] {
        if (m_track)
            m_track->start();
    };
    hooks.showError = &ErrorBoundary::reportMessage;
    // Nothing a journal holds may stop the start: what goes wrong is said, and the station starts.
    hooks.recoverUnfinishedRace = [this] {
        ErrorBoundary::guarded([this] {
            RaceRecovery::recover(m_dataFolder, m_form->race(), [this](const QString& message) {
                QMessageBox::information(m_form.get(), m_form->windowTitle(), message);
            });
        });
    };
}

void ProgramWindows::show() {
    m_form->installShutdownSignals();
    QObject::connect(m_form.get(), &TForm1::closed, qApp, &QCoreApplication::quit, Qt::QueuedConnection);
    m_form->show();
    if (m_track)
        placeTrackWindow();
}

void ProgramWindows::placeTrackWindow() {
    m_trackWindow = std::make_unique<VirtualTrackWindow>(*m_track);
    m_trackWindow->setAttribute(Qt::WA_QuitOnClose, false);
    // Beside the main window where the screen has room, else below it.
    const QRect screen = m_form->screen()->availableGeometry();
    const QRect main = m_form->frameGeometry();
    m_trackWindow->adjustSize();
    if (main.right() + 8 + m_trackWindow->width() <= screen.right())
        m_trackWindow->move(main.topRight() + QPoint(8, 0));
    else
        m_trackWindow->move(qMax(screen.left(), main.left()),
                            qMin(main.bottom() + 8, screen.bottom() - m_trackWindow->height()));
    m_trackWindow->show();
    // Where the two must overlap, the main window stays in front.
    m_form->raise();
    m_form->activateWindow();
}

void ProgramWindows::createAudienceWindow() {
    // The race progress is one model for the window and the page, fed by the lap lists: it outlives
    // a window made anew.
    if (!m_progress) {
        m_progress = std::make_unique<TRaceProgress>(m_settings);
        m_progress->follow(
            {&m_form->lapList(1), &m_form->lapList(2), &m_form->lapList(3), &m_form->lapList(4)});
        m_progress->followNames(m_form->station().driverNames());
    }
    // Owned here, not by the main window: unticking the see-through box makes it anew.
    m_tvOut = std::make_unique<TTV_Out_Frm>(m_settings, *m_progress, m_dataFolder);
    m_tvOut->setAttribute(Qt::WA_QuitOnClose, false);
    m_tvOut->showChequeredFlag(m_form->race().flagShown());
    if (!m_liveResults) {
        m_liveResults = std::make_unique<LiveResults>(SteadyClock::instance());
        m_liveFeed = std::make_unique<LiveRaceFeed>(*m_progress, SteadyClock::instance(),
                                                    [this] { return m_form->raceMinutes(); });
        m_liveFeed->isRecord = [this](int kart, qint64 lapMs) { return isRecord(kart, lapMs); };
    }
    showPageAddress();
}

void ProgramWindows::fillAudienceHooks() {
    RaceHooks& race = m_form->race().hooks();
    race.audienceClock = [this](int millis, int seconds, int minutes) {
        m_tvOut->showClock(millis, seconds, minutes);
    };
    race.audienceRaceLength = [this](int minutes) { m_tvOut->showRaceLength(minutes); };
    race.raceStarted = [this](qint64 startUs) {
        m_mqtt->raceStarted();
        m_liveFeed->raceStarted(startUs);
        showAudienceAgain();
    };
    race.raceAtRest = [this] { m_liveFeed->raceStopped(); };
    race.raceKept = [this] { m_mqtt->raceKept(m_liveFeed->snapshot()); };
    race.chequeredFlag = [this](bool shown) {
        m_tvOut->showChequeredFlag(shown);
        m_liveFeed->setFlag(shown);
    };

    BestTwentyHooks& tables = m_bestTwenty->hooks();
    // A table file the window cannot read is said there; the change to the tables stands.
    tables.audienceReload = [this] { ErrorBoundary::guarded([this] { m_tvOut->FormActivate(); }); };
    tables.tablesChanged = [this] { reloadPageTopTen(); };

    AudiencePage::Hooks& settings = m_settingsPages->audience().hooks();
    settings.tvOutClicked = [this] { placeAudienceWindow(); };
    settings.transparentFormClicked = [this] {
        if (m_settings.TVOUT.Form)
            m_tvOut->PruhlednyForm();
        else
            rebuildAudienceWindow();
    };
    settings.displayTypeClicked = [this] {
        m_tvOut->showDisplayMode(m_settings.TVOUT.TypZobrazeni);
        m_progress->rank();
    };
    settings.webBoxClicked = [this] { applyWebPage(); };
    settings.webAddress = [](int port) { return LanAddress::stationPageUrl(port); };
    m_nastav->settingsHooks().applyWebPage = [this] { applyWebPage(); };

    QObject::connect(m_form.get(), &TForm1::closed, m_form.get(), [this] { rememberAudiencePlace(); });
    QObject::connect(m_liveFeed.get(), &LiveRaceFeed::published, m_liveResults.get(), &LiveResults::publish);
    // The broker gets the race as the page does; its trouble is said on the status bar.
    m_mqtt = std::make_unique<MqttLink>(
        m_settings, m_dataFolder, m_form->station().driverNames(), SteadyClock::instance(),
        [this] { return m_form->race().startWallTime(); },
        [this](const QString& notice) {
            if (notice.isEmpty())
                m_form->statusBarPanels().clearMessage();
            else
                m_form->statusBarPanels().showMessage(notice);
        });
    m_nastav->settingsHooks().applyMqtt = [this] { m_mqtt->apply(); };
    QObject::connect(m_liveFeed.get(), &LiveRaceFeed::published, m_mqtt.get(), &MqttLink::publishSnapshot);
    QObject::connect(m_liveResults.get(), &LiveResults::listening, m_form.get(),
                     [this] { showPageAddress(); });
    QObject::connect(m_liveResults.get(), &LiveResults::failed, m_form.get(), [this](const QString& message) {
        showPageAddress();
        m_form->showError(message);
    });
}

void ProgramWindows::reloadPageTopTen() {
    const auto topTen = [this](BestTwentyFiles::Table table, const QList<TopTenRow>& before) {
        // The page is a courtesy: a table the operator is told about elsewhere stays as it was here.
        try {
            const QList<BestTwentyRow> all = BestTwentyFiles::firstRows(m_dataFolder, table, 20);
            m_records.setRows(table, all);
            QList<TopTenRow> rows;
            for (const BestTwentyRow& row : all.mid(0, 10))
                rows.append({row.rank(), row.name(), row.time()});
            return rows;
        } catch (const UserError&) {
            return before;
        }
    };
    const LiveSnapshot& shown = m_liveFeed->snapshot();
    m_liveFeed->setTopTen(topTen(BestTwentyFiles::Men, shown.men),
                          topTen(BestTwentyFiles::Women, shown.women));
}

void ProgramWindows::placeAudienceWindow() {
    if (!m_settings.TVOUT.Pouzit) {
        rememberAudiencePlace();
        m_tvOut->hide();
        return;
    }
    // Whole from its first moment: the race length, the mode's heading and both top tens.
    m_tvOut->showRaceLength(m_form->raceMinutes());
    m_tvOut->showDisplayMode(m_settings.TVOUT.TypZobrazeni);
    ErrorBoundary::guarded([this] { m_tvOut->FormActivate(); });
    m_tvOut->move(audiencePlace());
    m_audiencePlacedAt = m_tvOut->pos();
    if (m_settings.TVOUT.Form)
        m_tvOut->PruhlednyForm();
    m_tvOut->show();
    m_tvOut->raise();
}

QList<QRect> ProgramWindows::screenGeometries() {
    QList<QRect> screens;
    for (const QScreen* screen : QGuiApplication::screens())
        screens << screen->geometry();
    return screens;
}

QPoint ProgramWindows::audiencePlace() const {
    const QList<QRect> screens = screenGeometries();
    if (const auto tv =
            AudiencePlacement::screenRightOf(screens, QGuiApplication::primaryScreen()->geometry()))
        return *tv;
    const QSize size = m_tvOut->frameGeometry().size();
    if (const auto kept = AudiencePlacement::remembered(m_settings.TVOUT.Poloha, screens, size))
        return *kept;
    // The operator's one screen: START and the laps must stay in view.
    QList<QRect> keepFree;
    for (const char* name :
         {"StartButton1", "Kola_mezicas1", "Kola_mezicas2", "Kola_mezicas3", "Kola_mezicas4"}) {
        if (const auto* control = m_form->findChild<QWidget*>(QLatin1String(name)))
            keepFree << QRect(control->mapToGlobal(QPoint(0, 0)), control->size());
    }
    return AudiencePlacement::besideMainWindow(m_form->screen()->availableGeometry(), m_form->frameGeometry(),
                                               keepFree, size);
}

void ProgramWindows::rememberAudiencePlace() {
    // Only where the operator moved it on a lone screen; the TV screen's place is fixed.
    if (!m_tvOut || !m_audiencePlacedAt)
        return;
    const QPoint place = m_tvOut->pos();
    if (place == *m_audiencePlacedAt ||
        AudiencePlacement::screenRightOf(screenGeometries(), QGuiApplication::primaryScreen()->geometry()))
        return;
    m_audiencePlacedAt = place;
    m_settings.TVOUT.Poloha = AudiencePlacement::rememberText(place);
    ErrorBoundary::guarded(
        [this] { WriteSettingsKey(DataFolder(m_dataFolder), m_settings, "TVOUT", "Poloha"); });
}

void ProgramWindows::showAudienceAgain() {
    // Closed or minimised by mistake: a race brings it back where it was.
    if (!m_settings.TVOUT.Pouzit || (m_tvOut->isVisible() && !m_tvOut->isMinimized()))
        return;
    m_tvOut->setWindowState(m_tvOut->windowState() & ~Qt::WindowMinimized);
    m_tvOut->show();
    m_tvOut->raise();
}

void ProgramWindows::rebuildAudienceWindow() {
    rememberAudiencePlace();
    m_audiencePlacedAt.reset();
    m_tvOut.reset();
    createAudienceWindow();
    placeAudienceWindow();
}

void ProgramWindows::applyWebPage() {
    // The history's sheets are printed with the print settings as they are when the page is applied.
    const SheetSettings sheet = SheetSettings::from(m_settings, m_settingsPages->print().logoPicture());
    m_liveResults->setHistory(
        DataFolder::resolve(m_dataFolder, QStringLiteral("vysledky")),
        [sheet](const std::array<QString, 4>& lapFiles) { return keptRaceResultsPdf(sheet, lapFiles); });
    m_liveResults->apply(m_settings.Web.Pouzit, m_settings.Web.Port);
    showPageAddress();
}

void ProgramWindows::showPageAddress() {
    const quint16 port = m_liveResults ? m_liveResults->port() : 0;
    m_tvOut->showPageAddress(port ? LanAddress::stationPageUrl(port) : QString());
}
