// tarvolin-cli: the station's work that needs no window, one command per table entry (CliCommands.cpp).
#include "cli/CliTool.h"

#include <QGuiApplication>
#include <QTextStream>

#include <cstdio>

int main(int argc, char* argv[]) {
    // The sheets are drawn with fonts and pictures, which need a GUI application but no display.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY") &&
        qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QTextStream out(stdout);
    QTextStream err(stderr);
    CliStreams streams{out, err, nullptr};
    const int status = runCliTool(QCoreApplication::arguments().mid(1), streams);
    out.flush();
    err.flush();
    return status;
}
