#pragma once

#include <QObject>

class QSocketNotifier;

// Turns SIGTERM and SIGINT (a logout, a system shutdown, Ctrl+C) into a queued Qt signal on the main
// thread, so that the program can end the way its own "close" does. The C handler only writes one
// byte into a pipe; everything else runs in the event loop.
class ShutdownSignals : public QObject {
    Q_OBJECT

public:
    explicit ShutdownSignals(QObject* parent = nullptr);
    // Restores the previous handlers.
    ~ShutdownSignals() override;

    ShutdownSignals(const ShutdownSignals&) = delete;
    ShutdownSignals& operator=(const ShutdownSignals&) = delete;

    // False when the pipe or the handlers could not be set up; the program then runs without them.
    bool isActive() const { return m_notifier != nullptr; }

signals:
    void shutdownRequested(int signalNumber);

private:
    void readPipe();

    QSocketNotifier* m_notifier = nullptr;
};
