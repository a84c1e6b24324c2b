#include "cli/CliParser.h"

#include "cli/CliTool.h"

#include <QTextStream>

#include <algorithm>

namespace {

const QCommandLineOption helpOption({QStringLiteral("h"), QStringLiteral("help")},
                                    QStringLiteral("zobrazí tuto nápovědu"));
const QCommandLineOption versionOption({QStringLiteral("v"), QStringLiteral("version")},
                                       QStringLiteral("zobrazí verzi programu"));

// "-h, --help" or "--data SLOŽKA"
QString optionSyntax(const QCommandLineOption& option) {
    QStringList names;
    for (const QString& name : option.names())
        names << (name.size() == 1 ? QStringLiteral("-") : QStringLiteral("--")) + name;
    QString syntax = names.join(QStringLiteral(", "));
    if (!option.valueName().isEmpty())
        syntax += QLatin1Char(' ') + option.valueName();
    return syntax;
}

// Every command is in the table; a parser for one that is not would be a programming error.
const CliCommand& commandRunBy(decltype(CliCommand::run) run) {
    const QList<CliCommand>& commands = cliCommands();
    const auto found = std::find_if(commands.begin(), commands.end(),
                                    [run](const CliCommand& command) { return command.run == run; });
    if (found == commands.end())
        qFatal("tarvolin-cli: a command missing from the table");
    return *found;
}

} // namespace

CliParser::CliParser(decltype(CliCommand::run) run, const QString& syntax)
    : m_command(commandRunBy(run)), m_name(QString::fromUtf8(m_command.name)), m_syntax(syntax) {
    addOption(helpOption);
    addOption(versionOption);
}

void CliParser::addOption(const QCommandLineOption& option) {
    m_parser.addOption(option);
    m_options << option;
}

void CliParser::describeArgument(const QString& name, const QString& description) {
    m_arguments.append({name, description});
}

int CliParser::parse(const QStringList& args, CliStreams& streams) {
    // The parser takes the first word for the program's name.
    if (!m_parser.parse(QStringList{m_name} + args))
        return usageError(problemOf(args), streams);
    if (m_parser.isSet(helpOption)) {
        streams.out << helpText();
        return 0;
    }
    if (m_parser.isSet(versionOption)) {
        streams.out << cliVersionText() << '\n';
        return 0;
    }
    return -1;
}

QCommandLineOption CliParser::dataOption() {
    return QCommandLineOption(QStringLiteral("data"), QStringLiteral("složka s daty (jinak složka programu)"),
                              QStringLiteral("SLOŽKA"));
}

int CliParser::parseWithOneArchive(const QStringList& args, CliStreams& streams) {
    describeArgument(QStringLiteral("ARCHIV.bck"), QStringLiteral("první díl zálohy"));
    const int parsed = parse(args, streams);
    if (parsed >= 0)
        return parsed;
    if (arguments().size() != 1)
        return usageError(QStringLiteral("Zadejte jeden archiv."), streams);
    return -1;
}

int CliParser::usageError(const QString& problem, CliStreams& streams) const {
    streams.err << problem << '\n'
                << usageLine() << '\n'
                << "Nápovědu zobrazí tarvolin-cli " << m_name << " --help.\n";
    return 2;
}

QString CliParser::helpText() const {
    QString text;
    QTextStream stream(&text);
    // The table's summary as a sentence.
    const QString summary = QString::fromUtf8(m_command.summary);
    stream << usageLine() << "\n\n" << summary.left(1).toUpper() << summary.mid(1) << ".\n";
    const auto column = [&](const QString& left, const QString& right) {
        stream << "  " << left.leftJustified(24)
               << (left.size() >= 24 ? QStringLiteral("\n") + QString(26, u' ') : QString()) << right << '\n';
    };
    if (!m_arguments.isEmpty()) {
        stream << "\nArgumenty:\n";
        for (const auto& argument : m_arguments)
            column(argument.first, argument.second);
    }
    stream << "\nVolby:\n";
    for (const QCommandLineOption& option : m_options)
        column(optionSyntax(option), option.description());
    stream.flush();
    return text;
}

QString CliParser::usageLine() const {
    return QStringLiteral("Použití: tarvolin-cli %1 [volby] %2").arg(m_name, m_syntax);
}

QString CliParser::problemOf(const QStringList& args) const {
    const QStringList unknown = m_parser.unknownOptionNames();
    if (!unknown.isEmpty()) {
        const QString name = unknown.first();
        return QStringLiteral("Neznámá volba: %1%2")
            .arg(name.size() == 1 ? QStringLiteral("-") : QStringLiteral("--"), name);
    }
    // The parser takes the next word for an option's value, so only a last word can lack it.
    const QString last = args.value(args.size() - 1);
    for (const QCommandLineOption& option : m_options) {
        for (const QString& name : option.names()) {
            const QString dashed = (name.size() == 1 ? QStringLiteral("-") : QStringLiteral("--")) + name;
            if (!option.valueName().isEmpty() && last == dashed)
                return QStringLiteral("Za volbou %1 chybí hodnota.").arg(dashed);
            const auto givenValue = [&](const QString& word) {
                return word.startsWith(dashed + QLatin1Char('='));
            };
            if (option.valueName().isEmpty() && std::any_of(args.begin(), args.end(), givenValue))
                return QStringLiteral("Volba %1 nemá hodnotu.").arg(dashed);
        }
    }
    return QStringLiteral("Chybný příkazový řádek: %1").arg(args.join(QLatin1Char(' ')));
}
