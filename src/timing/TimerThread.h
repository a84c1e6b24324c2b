#pragma once

#include <QThread>
#include <QtGlobal>

#include <functional>
#include <memory>

class TThreadedTimer;

// The worker of one TThreadedTimer. It only waits, probes and hands ticks to the main thread: it waits
// on an auto-resetting wake-up event with a time-out of the interval; a time-out whose probe finds
// something hands a tick over and blocks until the main thread has run it, one whose probe finds
// nothing starts the next wait at once, and a signalled event ends the wait without a tick. A parked worker
// waits for release. The worker never holds its lock while it is blocked, so the main thread can
// always enable, disable, re-time or destroy the timer.
class TTimerThread : public QThread {
public:
    // Created parked, with interval 1000 ms, running at the given priority.
    TTimerThread(TThreadedTimer& owner, QThread::Priority priority);
    // Stops the worker and returns once it has ended.
    ~TTimerThread() override;

    quint32 interval() const;
    void setInterval(quint32 ms);

    // The worker's nice value, on top of the QThread priority (which Linux ignores for ordinary
    // threads). A value the process may not set is left unset.
    void setNiceValue(int niceValue);

    // The timer's probe, run by the worker at each time-out; a tick is handed over only when it finds
    // something. Empty: every time-out is handed over.
    void setProbe(std::function<bool()> probe);

    // Signals the wake-up event and releases the worker from parking, in one step.
    void signalAndRelease();
    void park();
    // Sets the stop request, wakes the worker wherever it waits (a tick waiting for the main thread is
    // dropped) and waits until it has ended. Safe from inside any tick handler.
    void stopAndWait();

protected:
    // Runs the ticks handed over (this object lives on the owner's thread, the worker does not).
    bool event(QEvent* event) override;

private:
    struct Shared;

    static void runTick(const std::shared_ptr<Shared>& shared);
    void run() override;

    std::shared_ptr<Shared> m_shared;
};
