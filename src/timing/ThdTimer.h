#pragma once

#include "base/ITimer.h"

#include <QObject>
#include <QThread>

#include <exception>
#include <functional>
#include <memory>

class TTimerThread;

// The tick handler; it receives the timer as sender.
using TNotifyEvent = std::function<void(QObject* sender)>;
Q_DECLARE_METATYPE(TNotifyEvent)

// A timer whose interval is measured by its own worker thread of settable priority, while its tick
// handler runs on the thread that owns the timer (the main thread). Each tick is handed over and the
// worker waits until it has run, so one timer never has two ticks in flight. Enabling starts a full
// interval; setting a property to its current value does nothing.
class TThreadedTimer : public QObject, public ITimer {
    Q_OBJECT
    Q_PROPERTY(bool AllowZero READ allowZero WRITE setAllowZero)
    Q_PROPERTY(bool Enabled READ enabled WRITE setEnabled)
    Q_PROPERTY(quint32 Interval READ interval WRITE setInterval)
    Q_PROPERTY(TNotifyEvent OnTimer READ OnTimer WRITE setOnTimerEvent)
    Q_PROPERTY(TThreadPriority ThreadPriority READ threadPriority WRITE setThreadPriority)

public:
    enum TThreadPriority { tpIdle, tpLowest, tpLower, tpNormal, tpHigher, tpHighest, tpTimeCritical };
    Q_ENUM(TThreadPriority)

    explicit TThreadedTimer(QObject* parent = nullptr);
    // Returns only after the worker has ended; a tick already handed over is dropped.
    ~TThreadedTimer() override;

    bool allowZero() const override { return m_allowZero; }
    void setAllowZero(bool allow) override { m_allowZero = allow; }

    bool enabled() const override { return m_enabled; }
    void setEnabled(bool on) override;

    quint32 interval() const override;
    void setInterval(quint32 ms) override;

    // The handler with its sender; ITimer::setOnTimer sets one without.
    TNotifyEvent OnTimer() const { return m_onTimerEvent; }
    void setOnTimerEvent(TNotifyEvent handler);

    TThreadPriority threadPriority() const { return m_priority; }
    void setThreadPriority(TThreadPriority priority);

    // The platform's thread priority, and the nice value that gives the level its effect on Linux
    // where the process may raise it (root or CAP_SYS_NICE).
    static QThread::Priority platformPriority(TThreadPriority priority);
    static int niceValue(TThreadPriority priority);

private:
    friend class TTimerThread;
    // Runs on the owner's thread for each tick handed over; hands back what the handler raised, to be
    // reported once the worker is released.
    std::exception_ptr runTick() { return fireCapturing(); }

    bool m_allowZero = false;
    bool m_enabled = false;
    TThreadPriority m_priority = tpNormal;
    TNotifyEvent m_onTimerEvent;
    std::unique_ptr<TTimerThread> m_thread;
};
