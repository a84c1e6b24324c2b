#include "app/CommandLineOptions.h"
#include "base/UserError.h"

#include <QDir>

#include <gtest/gtest.h>

namespace {

CommandLineOptions parse(std::initializer_list<const char*> arguments) {
    QStringList list = {QStringLiteral("/opt/tarvolin/tarvolin")};
    for (const char* argument : arguments)
        list << QString::fromUtf8(argument);
    return CommandLineOptions::parse(list);
}

} // namespace

TEST(CommandLineOptions, NoOptionsUseTheProgramFolderAndThePort) {
    const CommandLineOptions options = parse({});
    EXPECT_TRUE(options.dataFolder.isEmpty());
    EXPECT_FALSE(options.simulate);
    EXPECT_EQ(options.dataFolderOr(QStringLiteral("/opt/tarvolin")), QStringLiteral("/opt/tarvolin"));
}

TEST(CommandLineOptions, DataFolderInBothForms) {
    EXPECT_EQ(parse({"--data", "/srv/trať"}).dataFolder, QStringLiteral("/srv/trať"));
    EXPECT_EQ(parse({"--data=/srv/x"}).dataFolder, QStringLiteral("/srv/x"));
    EXPECT_EQ(parse({"--data=/srv/x"}).dataFolderOr(QStringLiteral("/opt")), QStringLiteral("/srv/x"));
    EXPECT_EQ(parse({"--data", "rel/dir"}).dataFolderOr(QStringLiteral("/opt")),
              QDir::current().filePath(QStringLiteral("rel/dir")));
    // "--data" without a folder is not understood, and takes nothing after it.
    const CommandLineOptions dangling = parse({"--data"});
    EXPECT_TRUE(dangling.dataFolder.isEmpty());
    EXPECT_EQ(dangling.unknown, QStringList{QStringLiteral("--data")});
}

TEST(CommandLineOptions, SimulateLiveOrFromAScenario) {
    const CommandLineOptions live = parse({"--simulate"});
    EXPECT_TRUE(live.simulate);
    EXPECT_TRUE(live.scenarioFile.isEmpty());
    const CommandLineOptions replay = parse({"--data", "/d", "--simulate=tests/závod.txt"});
    EXPECT_TRUE(replay.simulate);
    EXPECT_EQ(replay.scenarioFile, QStringLiteral("tests/závod.txt"));
    EXPECT_EQ(replay.dataFolder, QStringLiteral("/d"));
    // The port follows: the last --simulate wins.
    EXPECT_EQ(replay.port().scenarioFile, QStringLiteral("tests/závod.txt"));
    EXPECT_TRUE(parse({"--simulate=a.txt", "--simulate"}).port().scenarioFile.isEmpty());
    EXPECT_FALSE(parse({}).port().simulate);
}

TEST(CommandLineOptions, UnknownArgumentsAreKeptApart) {
    const CommandLineOptions options = parse({"--simulated", "--verbose", "x"});
    EXPECT_FALSE(options.simulate);
    EXPECT_EQ(options.unknown,
              (QStringList{QStringLiteral("--simulated"), QStringLiteral("--verbose"), QStringLiteral("x")}));
}

TEST(CommandLineOptions, AnArgumentThatIsNoTextIsRefused) {
    const char* good[] = {"tarvolin", "--data", "/srv/dr\xc3\xa1ha"};
    EXPECT_NO_THROW(CommandLineOptions::requireTextArguments(3, good));
    const char* bad[] = {"tarvolin", "--data", "/srv/dr\xe1ha"}; // windows-1250 bytes
    EXPECT_THROW(CommandLineOptions::requireTextArguments(3, bad), UserError);
}
