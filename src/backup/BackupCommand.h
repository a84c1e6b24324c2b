#pragma once

#include <QStringList>

class QTextStream;

// "tarvolin-cli backup ...": create, list, restore and verify archives without a display and without
// questions, except for a volume that is not beside the first. args are the words after "backup".
// Returns the exit status: 0 on success, 1 when the operation failed, 2 for a wrong command line.
// in answers the question for a missing volume (standard input when null).
int runBackupCommand(const QStringList& args, QTextStream& out, QTextStream& err, QTextStream* in = nullptr);
