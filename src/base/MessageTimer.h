#pragma once

#include "base/StoredSettingsTimer.h"

#include <QObject>
#include <QTimer>

// An ITimer on the window system's message timer, for the slow watches that need no worker thread
// (the serial input's quiet and poll timers). Same rules as the threaded timer: the first tick one full
// interval after enabling, the same value does nothing, a new interval restarts a running wait.
class MessageTimer : public QObject, public StoredSettingsTimer {
    Q_OBJECT

public:
    explicit MessageTimer(QObject* parent = nullptr);

protected:
    void restart() override;

private:
    QTimer m_timer;
};
