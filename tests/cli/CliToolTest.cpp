// tarvolin-cli's table, help and command-line errors, in the program's own process.
#include "cli/CliTool.h"
#include "config/DataFolderChoice.h"

#include <QTextStream>

#include <gtest/gtest.h>

namespace {

struct ToolRun {
    int status = -1;
    QString out;
    QString err;
};

ToolRun tool(const QStringList& args) {
    ToolRun run;
    QTextStream out(&run.out);
    QTextStream err(&run.err);
    QString noInput;
    QTextStream in(&noInput);
    CliStreams streams{out, err, &in};
    run.status = runCliTool(args, streams);
    out.flush();
    err.flush();
    return run;
}

} // namespace

TEST(CliTool, EveryCommandAnswersHelpAndVersion) {
    const ToolRun help = tool({QStringLiteral("--help")});
    EXPECT_EQ(help.status, 0);
    EXPECT_EQ(tool({QStringLiteral("--version")}).out, cliVersionText() + QLatin1Char('\n'));
    // Run from the build tree, the tool's data folder is its own folder.
    EXPECT_TRUE(cliVersionText().endsWith(
        QStringLiteral("\nSložka s daty: ") +
        DataFolderChoice(QString(), DataFolderChoice::Environment::current()).folder()))
        << cliVersionText().toStdString();
    for (const CliCommand& command : cliCommands()) {
        const QString name = QString::fromUtf8(command.name);
        EXPECT_TRUE(help.out.contains(QStringLiteral("  ") + name)) << command.name;
        const QStringList words = name.split(QLatin1Char(' '));
        const ToolRun commandHelp = tool(words + QStringList{QStringLiteral("--help")});
        EXPECT_EQ(commandHelp.status, 0) << command.name;
        EXPECT_TRUE(
            commandHelp.out.startsWith(QStringLiteral("Použití: tarvolin-cli ") + name + QLatin1Char(' ')))
            << commandHelp.out.toStdString();
        EXPECT_TRUE(commandHelp.out.contains(QString::fromUtf8(command.summary).mid(1))) << command.name;
        EXPECT_TRUE(commandHelp.out.contains(QStringLiteral("-v, --version"))) << command.name;
        const ToolRun version = tool(words + QStringList{QStringLiteral("-v")});
        EXPECT_EQ(version.status, 0) << command.name;
        EXPECT_EQ(version.out, cliVersionText() + QLatin1Char('\n'));
        EXPECT_TRUE(version.err.isEmpty());
    }
}

TEST(CliTool, BadCommandLinesEndWithACzechMessageAndStatusTwo) {
    ToolRun run = tool({});
    EXPECT_EQ(run.status, 2);
    EXPECT_TRUE(run.err.contains(QStringLiteral("results-pdf")));
    // A word that only begins commands lists them.
    run = tool({QStringLiteral("backup")});
    EXPECT_EQ(run.status, 2);
    EXPECT_TRUE(run.err.contains(QStringLiteral("backup verify")));
    EXPECT_FALSE(run.err.contains(QStringLiteral("top20-pdf")));
    EXPECT_EQ(tool({QStringLiteral("backup"), QStringLiteral("--help")}).status, 0);

    run = tool({QStringLiteral("top20-pdf"), QStringLiteral("x.pdf"), QStringLiteral("--bogus")});
    EXPECT_EQ(run.status, 2);
    EXPECT_TRUE(run.err.startsWith(QStringLiteral("Neznámá volba: --bogus\nPoužití: tarvolin-cli top20-pdf")))
        << run.err.toStdString();
    run = tool({QStringLiteral("results-pdf"), QStringLiteral("x.pdf"), QStringLiteral("k1"),
                QStringLiteral("--data")});
    EXPECT_EQ(run.status, 2);
    EXPECT_TRUE(run.err.startsWith(QStringLiteral("Za volbou --data chybí hodnota.\n")))
        << run.err.toStdString();
    run = tool({QStringLiteral("backup"), QStringLiteral("create"), QStringLiteral("--file-ids=1"),
                QStringLiteral("a.bck"), QStringLiteral("b")});
    EXPECT_EQ(run.status, 2);
    EXPECT_TRUE(run.err.startsWith(QStringLiteral("Volba --file-ids nemá hodnotu.\n")))
        << run.err.toStdString();
}
