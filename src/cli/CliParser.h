#pragma once

#include "cli/CliCommand.h"

#include <QCommandLineParser>
#include <QList>
#include <QPair>

// The command line of one command, read by QCommandLineParser: its options anywhere among its
// arguments, "--name value" or "--name=value", and -h/--help and -v/--version, which every command
// answers. The help and the messages are Czech, written here rather than left to Qt's translations.
class CliParser {
public:
    // The command whose table entry run is; syntax: its arguments as the help's usage line shows them.
    CliParser(decltype(CliCommand::run) run, const QString& syntax);

    void addOption(const QCommandLineOption& option);
    // --data SLOŽKA, which every command that reads or writes the station's files takes.
    static QCommandLineOption dataOption();
    // An argument as the help describes it.
    void describeArgument(const QString& name, const QString& description);

    // Reads args (the words after the command's name). Returns -1 when the command is to run;
    // otherwise the exit status the command ends with: 0 after its help or version, 2 after a bad
    // command line, whose message and the usage line went to err.
    int parse(const QStringList& args, CliStreams& streams);
    // parse() for a command that reads one archive, ARCHIV.bck, its first volume: any other count of
    // arguments is a bad command line.
    int parseWithOneArchive(const QStringList& args, CliStreams& streams);
    // The command's end for a command line that parsed but makes no sense: the problem and the usage
    // line on err, exit status 2.
    int usageError(const QString& problem, CliStreams& streams) const;

    bool isSet(const QCommandLineOption& option) const { return m_parser.isSet(option); }
    QString value(const QCommandLineOption& option) const { return m_parser.value(option); }
    QStringList arguments() const { return m_parser.positionalArguments(); }

    QString helpText() const;

private:
    QString usageLine() const;
    QString problemOf(const QStringList& args) const;

    const CliCommand& m_command;
    QString m_name;
    QString m_syntax;
    QCommandLineParser m_parser;
    QList<QCommandLineOption> m_options;
    QList<QPair<QString, QString>> m_arguments;
};
