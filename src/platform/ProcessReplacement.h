#pragma once

#include <QString>
#include <QStringList>

// Runs another program in this process's place (same process id), so that a signal to the process,
// a service manager's stop for one, reaches that program and leaves no child behind.
namespace ProcessReplacement {

// Returns only when the program could not be started: why not, in the system's words.
QString replaceWith(const QString& program, const QStringList& arguments);

} // namespace ProcessReplacement
