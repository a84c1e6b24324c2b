#include "timing/ThdTimer.h"

#include "timing/TimerThread.h"

TThreadedTimer::TThreadedTimer(QObject* parent)
    : QObject(parent), m_thread(std::make_unique<TTimerThread>(*this, platformPriority(tpNormal))) {}

TThreadedTimer::~TThreadedTimer() {
    m_thread->stopAndWait();
}

void TThreadedTimer::setEnabled(bool on) {
    if (on == m_enabled)
        return;
    m_enabled = on;
    if (!on) {
        m_thread->park();
        return;
    }
    m_thread->setProbe(probeFunction());
    // Interval 0 without AllowZero: enabled, but the worker stays parked and no tick comes.
    if (m_thread->interval() > 0 || m_allowZero)
        m_thread->signalAndRelease();
}

quint32 TThreadedTimer::interval() const {
    return m_thread->interval();
}

void TThreadedTimer::setInterval(quint32 ms) {
    if (ms == m_thread->interval())
        return;
    const bool wasEnabled = m_enabled;
    setEnabled(false);
    m_thread->setInterval(ms);
    setEnabled(wasEnabled);
}

void TThreadedTimer::setOnTimerEvent(TNotifyEvent handler) {
    m_onTimerEvent = handler;
    if (!handler) {
        setOnTimer(nullptr);
        return;
    }
    setOnTimer([this, handler] { handler(this); });
}

void TThreadedTimer::setThreadPriority(TThreadPriority priority) {
    m_priority = priority;
    // Without the privilege to raise it the platform keeps the priority it has; that is no failure.
    m_thread->setPriority(platformPriority(priority));
    m_thread->setNiceValue(niceValue(priority));
}

int TThreadedTimer::niceValue(TThreadPriority priority) {
    switch (priority) {
    case tpIdle:
        return 19;
    case tpLowest:
        return 10;
    case tpLower:
        return 5;
    case tpNormal:
        return 0;
    case tpHigher:
        return -5;
    case tpHighest:
        return -10;
    case tpTimeCritical:
        return -15;
    }
    return 0;
}

QThread::Priority TThreadedTimer::platformPriority(TThreadPriority priority) {
    switch (priority) {
    case tpIdle:
        return QThread::IdlePriority;
    case tpLowest:
        return QThread::LowestPriority;
    case tpLower:
        return QThread::LowPriority;
    case tpNormal:
        return QThread::NormalPriority;
    case tpHigher:
        return QThread::HighPriority;
    case tpHighest:
        return QThread::HighestPriority;
    case tpTimeCritical:
        return QThread::TimeCriticalPriority;
    }
    return QThread::NormalPriority;
}
