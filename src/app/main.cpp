#include "app/CommandLineOptions.h"
#include "app/ui/TarvolinApplication.h"
#include "base/MonotonicClock.h"
#include "base/UserError.h"
#include "config/DataFolder.h"
#include "config/SerialParameters.h"
#include "config/SettingsFile.h"
#include "config/TSettings.h"
#include "config/ui/About.h"
#include "config/ui/nastaveni.h"
#include "hardware/ExternalStartWatch.h"
#include "hardware/PortBackend.h"
#include "hardware/PortBackendFactory.h"
#include "hardware/PortBase.h"
#include "hardware/PortOptions.h"
#include "hardware/PortRepair.h"
#include "hardware/SensorSourceChoice.h"
#include "hardware/SerialLearnPanel.h"
#include "hardware/SerialSensorInput.h"
#include "hardware/StartLights.h"
#include "hardware/TComPort.h"
#include "hardware/TSmallPort.h"
#include "hardware/VirtualTrack.h"
#include "hardware/ui/Chyba_LPT.h"
#include "hardware/ui/VirtualTrackWindow.h"
#include "platform/DesktopShellOpen.h"
#include "platform/EventLoopChoice.h"
#include "platform/KernelModules.h"
#include "platform/ProcessPriority.h"
#include "platform/SystemRestart.h"
#include "platform/ThreadSlice.h"
#include "platform/XdgDesktopShortcut.h"
#include "platform/XdgStartEntry.h"
#include "timing/ThreadedTimerFactory.h"
#include "timing/ui/Splash.h"
#include "timing/ui/hwunit.h"

#include <QDir>
#include <QMessageBox>
#include <QScreen>

#include <cstdio>
#include <functional>
#include <memory>
#include <vector>

namespace {

// One window of the start: its progress figure (negative: no progress step) and how it is made.
struct WindowStep {
    const char* name;
    int progress;
    std::function<void()> create;
};

} // namespace

int main(int argc, char* argv[]) {
    // Before the application object exists: the lap samplers' hand-overs are cheaper on Qt's own
    // event dispatcher than on GLib's.
    EventLoopChoice::preferPlainUnixDispatcher();
    // The main thread runs every lap sample, 2000 short ticks a second: on a busy machine each one
    // must get the processor at once, not after another program's slice.
    ThreadSlice::requestForCurrentThread(ThreadSlice::ShortMicroseconds);
    TarvolinApplication app(argc, argv);
    const CommandLineOptions options = CommandLineOptions::parse(app.arguments());
    const DataFolder folder(options.dataFolderOr(QCoreApplication::applicationDirPath()));
    QDir().mkpath(folder.path());

    TSettings settings;
    MonotonicClock& clock = SteadyClock::instance();

    const PortOptions portOptions = PortOptions::fromArguments(app.arguments());
    std::unique_ptr<VirtualTrack> track;
    try {
        track = PortBackendFactory::createTrack(portOptions, settings, clock);
    } catch (const UserError& error) {
        std::fprintf(stderr, "%s\n", error.what());
        QMessageBox::critical(nullptr, TarvolinApplication::errorTitle(), error.message());
        return 1;
    }

    auto splash = std::make_unique<TSplashScreen>();
    splash->showCentred();
    splash->setProgress(5);

    std::unique_ptr<TForm1> form;
    std::unique_ptr<TChyba_LptDlg> chybaLpt;
    // The settings window's helpers and the operating system's services it uses.
    ModprobeKernelModules kernelModules;
    SystemctlRestart systemRestart;
    XdgStartEntry startEntry;
    XdgDesktopShortcut desktopShortcut;
    DesktopShellOpen shell;
    std::unique_ptr<PortRepair> portRepair;
    std::unique_ptr<SerialLearnPanel> learnPanel;
    std::unique_ptr<SensorSourceChoice> sensorSource;
    std::unique_ptr<TAboutBox> about;
    std::unique_ptr<TNastavDlg> nastav;
    // Every window is made once, here, in this order; the figures are the splash's progress. A window
    // not built yet has no maker.
    const std::vector<WindowStep> windows = {
        {"TForm1", 10,
         [&] {
             TForm1Deps deps{
                 settings, folder.path(), PortBackendFactory::createBackend(portOptions, track.get()),
                 &clock,   nullptr,       [&](TSettings& s) { ReadWindowCreationSettings(folder, s); }};
             form = std::make_unique<TForm1>(std::move(deps));
         }},
        {"TLogoErrDlg", 15, {}},
        {"TTV_Out_Frm", 20, {}},
        {"TUkonceniDlg", 25, {}},
        {"TUpravDlg1", 30, {}},
        {"TZalohujFrm", 35, {}},
        {"TRestartDlg", 40, {}},
        {"TChyba_LptDlg", 45, [&] { chybaLpt = std::make_unique<TChyba_LptDlg>(form.get()); }},
        {"TNahled1Dlg", 50, {}},
        {"TUpravDlg", 55, {}},
        {"TTopTen10Frm", 60, {}},
        {"TVzdyNavrchuDlg", 65, {}},
        {"THlaseniDlg", 70, {}},
        {"TAboutBox", 75, [&] { about = std::make_unique<TAboutBox>(&shell, form.get()); }},
        {"TNastavDlg", 80,
         [&] {
             learnPanel = std::make_unique<SerialLearnPanel>(settings, form->ComPort1());
             form->serialInput().setLearnPanel(learnPanel.get());
             sensorSource = std::make_unique<SensorSourceChoice>(settings, form->SmallPort1());
             portRepair = std::make_unique<PortRepair>(kernelModules, &form->SmallPort1());
             TNastavDlg::Services services;
             services.parallelPort = &form->SmallPort1();
             services.timers = &ThreadedTimerFactory::instance();
             services.comPort = &form->ComPort1();
             services.learnPanel = learnPanel.get();
             services.sensorSource = sensorSource.get();
             services.soundPlayer = &form->MediaPlayer1();
             services.startEntry = &startEntry;
             services.desktopShortcut = &desktopShortcut;
             services.shell = &shell;
             services.controlPulse = &form->controlPulse();
             services.portRepair = portRepair.get();
             services.systemRestart = &systemRestart;
             services.dataFolder = folder.path();
             nastav = std::make_unique<TNastavDlg>(settings, services, form.get());
             nastav->hooks().closeMainWindow = [&] { form->close(); };
         }},
        {"TNahled2Dlg", 85, {}},
        {"TStat_Dlg", 90, {}},
        {"TStav_KarFrm", 100, {}},
        {"TPotvrdDlg", -1, {}},
    };
    for (const WindowStep& step : windows) {
        if (step.create)
            step.create();
        if (step.progress >= 0)
            splash->setProgress(step.progress);
    }
    splash.reset();

    MainWindowHooks& hooks = form->hooks();
    // The settings window owns the reading and saving of the settings file and fills the steps that
    // are its own (the logo notice TLogoErrDlg, the sound file tree, the always-on-top notice).
    SettingsHooks& settingsHooks = nastav->settingsHooks();
    settingsHooks.applySerialParameters = [&](const SerialParameters& parameters) {
        form->ComPort1().setParameters(parameters);
    };
    // What saving the settings applies; the settings window passes these hooks to WriteSettingsFile.
    settingsHooks.closeSerialPort = [&] {
        if (form->ComPort1().isOpen())
            form->ComPort1().close();
    };
    settingsHooks.applyExternalStart = [&](bool watch) { form->externalStart().setEnabled(watch); };
    settingsHooks.applyProcessPriority = [](int priority) { ProcessPriority::apply(priority); };
    settingsHooks.writeRestingValue = [&](quint8 value) {
        TSmallPort& port = form->SmallPort1();
        if (!port.Opened())
            return;
        port.setPortBase(PortBase::fromChoice(settings.PoSpusteni.Port, settings.PoSpusteni.Base1));
        form->startLights().writeStartupValue(value);
    };
    hooks.readSettingsFile = [&] { nastav->readSettingsFileKeys(); };
    hooks.finishReadingSettings = [&] { nastav->finishReadingSettingsFile(); };
    // The window stores the section "ComPort1" itself when it closes.
    hooks.showSettings = [&] { nastav->execFromMainWindow(); };
    hooks.showAbout = [&] { about->exec(); };
    hooks.showPortError = [&] { chybaLpt->exec(); };
    hooks.showError = [&](const QString& message) {
        QMessageBox::critical(form.get(), TarvolinApplication::errorTitle(), message);
    };

    form->installShutdownSignals();
    QObject::connect(form.get(), &TForm1::closed, &app, &QCoreApplication::quit, Qt::QueuedConnection);
    form->show();

    std::unique_ptr<VirtualTrackWindow> trackWindow;
    if (track) {
        trackWindow = std::make_unique<VirtualTrackWindow>(*track);
        trackWindow->setAttribute(Qt::WA_QuitOnClose, false);
        // Beside the main window where the screen has room, else below it.
        const QRect screen = form->screen()->availableGeometry();
        const QRect main = form->frameGeometry();
        trackWindow->adjustSize();
        if (main.right() + 8 + trackWindow->width() <= screen.right())
            trackWindow->move(main.topRight() + QPoint(8, 0));
        else
            trackWindow->move(qMax(screen.left(), main.left()),
                              qMin(main.bottom() + 8, screen.bottom() - trackWindow->height()));
        trackWindow->show();
        // Where the two must overlap, the main window stays in front.
        form->raise();
        form->activateWindow();
    }
    return app.exec();
}
