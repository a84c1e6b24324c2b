#include "config/TSettings.h"
#include "hardware/PortBackend.h"
#include "timing/ui/Splash.h"
#include "timing/ui/hwunit.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QDir>

#include <cerrno>
#include <functional>
#include <memory>
#include <vector>

namespace {

// Stands in until a real backend is chosen: the port never opens.
class NoPortBackend : public PortBackend {
public:
    int open() override { return ENODEV; }
    void close() override {}
    int read(quint16, quint8& value) override {
        value = 0;
        return ENODEV;
    }
    int write(quint16, quint8) override { return ENODEV; }
    QString name() const override { return QStringLiteral("none"); }
};

struct Options {
    QString dataFolder;
    bool simulate = false;
    QString scenario;
};

Options parseOptions(const QApplication& app) {
    QCommandLineParser parser;
    parser.addHelpOption();
    const QCommandLineOption data(QStringLiteral("data"), QStringLiteral("Datová složka programu."),
                                  QStringLiteral("DIR"));
    const QCommandLineOption simulate(QStringLiteral("simulate"), QStringLiteral("Virtuální trať."));
    parser.addOption(data);
    parser.addOption(simulate);
    QStringList arguments = app.arguments();
    Options options;
    // "--simulate=FILE" replays a scenario; a bare "--simulate" runs the virtual track freely.
    for (QString& argument : arguments) {
        if (argument.startsWith(QStringLiteral("--simulate="))) {
            options.scenario = argument.mid(11);
            argument = QStringLiteral("--simulate");
        }
    }
    parser.process(arguments);
    options.dataFolder = parser.isSet(data) ? parser.value(data) : QCoreApplication::applicationDirPath();
    options.simulate = parser.isSet(simulate);
    return options;
}

// One window of the start: its progress figure (negative: no progress step) and how it is made.
struct WindowStep {
    const char* name;
    int progress;
    std::function<void()> create;
};

} // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    const Options options = parseOptions(app);
    QDir().mkpath(options.dataFolder);

    TSettings settings;
    auto splash = std::make_unique<TSplashScreen>();
    splash->showCentred();
    splash->setProgress(5);

    std::unique_ptr<TForm1> form;
    // Every window is made once, here, in this order; the figures are the splash's progress.
    const std::vector<WindowStep> windows = {
        {"TForm1", 10,
         [&] {
             form = std::make_unique<TForm1>(
                 TForm1Deps{settings, options.dataFolder, std::make_unique<NoPortBackend>()});
         }},
        {"TLogoErrDlg", 15, {}},
        {"TTV_Out_Frm", 20, {}},
        {"TUkonceniDlg", 25, {}},
        {"TUpravDlg1", 30, {}},
        {"TZalohujFrm", 35, {}},
        {"TRestartDlg", 40, {}},
        {"TChyba_LptDlg", 45, {}},
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

    form->installShutdownSignals();
    QObject::connect(form.get(), &TForm1::closed, &app, &QCoreApplication::quit, Qt::QueuedConnection);
    form->show();
    return app.exec();
}
