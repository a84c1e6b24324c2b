#pragma once

#include <QProcess>

// Ends a helper process that the tests started: asked first, so that it can clean up after itself
// (a server removes its socket, a recorder flushes its last samples), killed when it does not go.
inline void endProcess(QProcess& process, int graceMs) {
    if (process.state() == QProcess::NotRunning)
        return;
    process.terminate();
    if (!process.waitForFinished(graceMs)) {
        process.kill();
        process.waitForFinished();
    }
}
