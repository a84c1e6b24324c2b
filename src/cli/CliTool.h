#pragma once

#include "cli/CliCommand.h"

// tarvolin-cli on its arguments (without the program's name): the command whose words they begin
// with runs on the rest. --help and --version answer for the tool; a first word that only begins
// commands ("backup") lists them. Returns the exit status.
int runCliTool(const QStringList& args, CliStreams& streams);

// "tarvolin-cli 2.0.0.1"
QString cliVersionText();
