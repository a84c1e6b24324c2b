#include "cli/CliTool.h"

#include "config/DataFolderChoice.h"
#include "config/ProgramVersion.h"

#include <QTextStream>

#include <algorithm>

namespace {

// The commands whose names begin with prefix (all for an empty one), one line each.
void listCommands(QTextStream& stream, const QString& prefix) {
    const QString head = prefix.isEmpty() ? QString() : prefix + QLatin1Char(' ');
    stream << "Použití: tarvolin-cli " << head << "PŘÍKAZ [volby] [argumenty]\n\nPříkazy:\n";
    for (const CliCommand& command : cliCommands()) {
        const QString name = QString::fromUtf8(command.name);
        if (name.startsWith(head))
            stream << "  " << name.leftJustified(16) << QString::fromUtf8(command.summary) << '\n';
    }
    stream << "\nVolby:\n"
           << "  -h, --help      "
           << "zobrazí tuto nápovědu\n"
           << "  -v, --version   "
           << "zobrazí verzi programu\n"
           << "\nNápovědu k příkazu zobrazí tarvolin-cli " << head << "PŘÍKAZ --help.\n";
}

bool isHelp(const QString& word) {
    return word == QLatin1String("-h") || word == QLatin1String("--help");
}

bool isVersion(const QString& word) {
    return word == QLatin1String("-v") || word == QLatin1String("--version");
}

} // namespace

QString cliVersionText() {
    const ProgramVersion version = ProgramVersion::current();
    // The folder the commands use without "--data": an installed tool's differs from its own.
    const DataFolderChoice data(QString(), DataFolderChoice::Environment::current());
    return QStringLiteral("tarvolin-cli %1.%2.%3.%4\nSložka s daty: %5")
        .arg(version.major)
        .arg(version.minor)
        .arg(version.patch)
        .arg(version.build)
        .arg(data.folder());
}

int runCliTool(const QStringList& args, CliStreams& streams) {
    // The command with the most words that the arguments begin with.
    const CliCommand* found = nullptr;
    int words = 0;
    for (const CliCommand& command : cliCommands()) {
        const QStringList name = QString::fromUtf8(command.name).split(QLatin1Char(' '));
        if (name.size() > words && args.mid(0, name.size()) == name) {
            found = &command;
            words = name.size();
        }
    }
    if (found)
        return found->run(args.mid(words), streams);

    const QString first = args.value(0);
    if (isVersion(first) && args.size() == 1) {
        streams.out << cliVersionText() << '\n';
        return 0;
    }
    // A word that begins commands ("backup") lists them, as the tool itself does.
    const bool group =
        !first.isEmpty() && !first.startsWith(QLatin1Char('-')) &&
        std::any_of(cliCommands().begin(), cliCommands().end(), [&](const CliCommand& command) {
            return QString::fromUtf8(command.name).startsWith(first + QLatin1Char(' '));
        });
    const QString prefix = group ? first : QString();
    const QStringList rest = args.mid(group ? 1 : 0);
    if (rest.size() == 1 && isHelp(rest.first())) {
        listCommands(streams.out, prefix);
        return 0;
    }
    if (!rest.isEmpty())
        streams.err << "Neznámý příkaz: " << args.join(QLatin1Char(' ')) << "\n\n";
    listCommands(streams.err, prefix);
    return 2;
}
