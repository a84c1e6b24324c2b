#include "backup/BackupCommand.h"

#include <QCoreApplication>
#include <QTextStream>

#include <cstdio>

// tarvolin-cli: the station's work that needs no window, dispatched on its first word.
int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    QTextStream err(stderr);
    const QStringList args = app.arguments().mid(1);
    if (args.value(0) == QLatin1String("backup"))
        return runBackupCommand(args.mid(1), out, err);
    err << "usage: tarvolin-cli backup create|list|restore|verify ...\n";
    return 2;
}
