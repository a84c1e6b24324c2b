#include "app/CommandLineOptions.h"
#include "app/UserError.h"
#include "app/ui/TarvolinApplication.h"
#include "config/DataFolder.h"
#include "config/SerialParameters.h"
#include "config/SettingsFile.h"
#include "config/TSettings.h"
#include "hardware/ExternalStartWatch.h"
#include "hardware/PortBackend.h"
#include "hardware/PortBackendFactory.h"
#include "hardware/PortBase.h"
#include "hardware/PortOptions.h"
#include "hardware/StartLights.h"
#include "hardware/TComPort.h"
#include "hardware/TSmallPort.h"
#include "hardware/VirtualTrack.h"
#include "hardware/ui/Chyba_LPT.h"
#include "hardware/ui/VirtualTrackWindow.h"
#include "platform/EventLoopChoice.h"
#include "platform/ProcessPriority.h"
#include "platform/ThreadSlice.h"
#include "timing/MonotonicClock.h"
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
    SerialParameters serialParameters;
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
        {"TAboutBox", 75, {}},
        {"TNastavDlg", 80, {}},
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
    // The logo notice (TLogoErrDlg) and the sound file tree belong to the settings window, which
    // fills these settings hooks.
    SettingsHooks settingsHooks;
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
    hooks.readSettingsFile = [&] { ReadSettingsFileKeys(folder, settings, serialParameters, settingsHooks); };
    hooks.finishReadingSettings = [&] { FinishReadingSettingsFile(folder, settings, settingsHooks); };
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
