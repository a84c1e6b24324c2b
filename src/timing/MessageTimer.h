#pragma once

#include "base/ITimer.h"

#include <QObject>
#include <QTimer>

// An ITimer on the window system's message timer, for the slow watches that need no worker thread
// (the external start watch). Same rules as the threaded timer: the first tick one full interval
// after enabling, the same value does nothing, a new interval restarts a running wait.
class MessageTimer : public QObject, public ITimer {
    Q_OBJECT

public:
    explicit MessageTimer(QObject* parent = nullptr);

    bool enabled() const override { return m_enabled; }
    void setEnabled(bool on) override;
    quint32 interval() const override { return m_interval; }
    void setInterval(quint32 ms) override;
    bool allowZero() const override { return m_allowZero; }
    void setAllowZero(bool allow) override;

private:
    void restart();

    QTimer m_timer;
    bool m_enabled = false;
    bool m_allowZero = false;
    quint32 m_interval = 1000;
};
