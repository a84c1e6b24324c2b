// tarvolin-cli: the station's work that needs no window, one subcommand per first argument.
#include "backup/BackupCommand.h"
#include "printing/SheetPdfCommands.h"

#include <QGuiApplication>
#include <QStringList>
#include <QTextStream>

#include <cstdio>
#include <cstdlib>

namespace {

using Command = int (*)(const QStringList& args, QTextStream& out, QTextStream& err);

struct Subcommand {
    const char* name;
    Command run;
    const char* usage;
};

// One line per subcommand; each receives the words after its name.
const Subcommand subcommands[] = {
    {"results-pdf", runResultsPdfCommand, "results-pdf OUT.pdf [--data DIR] FILE1 [FILE2 [FILE3 [FILE4]]]"},
    {"top20-pdf", runTop20PdfCommand, "top20-pdf OUT.pdf [--data DIR]"},
    {"backup",
     [](const QStringList& args, QTextStream& out, QTextStream& err) {
         return runBackupCommand(args, out, err);
     },
     "backup create|list|restore|verify ..."},
};

void printUsage(QTextStream& stream) {
    stream << "Použití: tarvolin-cli PŘÍKAZ ...\n";
    for (const Subcommand& command : subcommands)
        stream << "  tarvolin-cli " << command.usage << "\n";
}

} // namespace

int main(int argc, char* argv[]) {
    // The sheets are drawn with fonts and pictures, which need a GUI application but no display.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY") &&
        qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QTextStream out(stdout);
    QTextStream err(stderr);

    QStringList args = QCoreApplication::arguments().mid(1);
    if (args.isEmpty() || args.first() == QLatin1String("--help") || args.first() == QLatin1String("-h")) {
        printUsage(args.isEmpty() ? err : out);
        return args.isEmpty() ? 2 : 0;
    }
    const QString name = args.takeFirst();
    for (const Subcommand& command : subcommands) {
        if (name == QLatin1String(command.name)) {
            const int code = command.run(args, out, err);
            out.flush();
            err.flush();
            return code;
        }
    }
    err << "Neznámý příkaz: " << name << "\n";
    printUsage(err);
    return 2;
}
