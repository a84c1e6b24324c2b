#pragma once

#include "base/ErrorBoundary.h"

#include <QtGlobal>

#include <exception>
#include <functional>

// What the race needs of a timer: the enable and interval rules of the threaded timer, and a tick
// handler that runs on the main thread only while the timer is enabled. TThreadedTimer is the real
// one; tests drive virtual timers on virtual time.
//
// A timer may also have a probe: it runs at every tick where the interval is measured (on a threaded
// timer's worker, at the instant the wait ends), and the handler runs only for a tick whose probe
// found something. A poll that finds nothing then costs the main thread nothing, and what the probe
// saw is stamped when it happened, not when the main thread gets to it. A probe runs off the main
// thread, so it may touch only what is safe there (atomics, the port, the clock); it is set while the
// timer is disabled.
class ITimer {
public:
    virtual ~ITimer() = default;

    virtual bool enabled() const = 0;
    // Setting the current value does nothing (a running wait is not restarted).
    virtual void setEnabled(bool on) = 0;

    virtual quint32 interval() const = 0;
    // A different value restarts the wait from the full new interval; the same value does nothing.
    virtual void setInterval(quint32 ms) = 0;

    virtual bool allowZero() const = 0;
    virtual void setAllowZero(bool allow) = 0;

    void setOnTimer(std::function<void()> handler) { m_onTimer = std::move(handler); }
    void setProbe(std::function<bool()> probe) { m_probe = std::move(probe); }

protected:
    // Implementations that run the probe on the main thread call this for each tick: the probe, then,
    // if it found something, the handler. The tick is the handler's boundary: what the handler raises
    // is reported there and the timer ticks on.
    void fire() {
        if (enabled() && probe())
            ErrorBoundary::report(fireCapturing());
    }

    // Whether the tick goes on to the handler. A probe that raises has found nothing: it may run where
    // nobody could be told.
    bool probe() const {
        if (!m_probe)
            return true;
        try {
            return m_probe();
        } catch (...) {
            return false;
        }
    }
    const std::function<bool()>& probeFunction() const { return m_probe; }

    // The same tick, for a timer whose worker waits until the tick has run: the handler's error comes
    // back unreported, so that the worker is released before the operator is shown the message (a
    // message box would otherwise hold the timer for as long as it is open).
    std::exception_ptr fireCapturing() {
        if (!enabled() || !m_onTimer)
            return nullptr;
        // Called through a copy: the handler may destroy its own timer (and with it m_onTimer).
        const std::function<void()> handler = m_onTimer;
        return ErrorBoundary::capture(handler);
    }

private:
    std::function<void()> m_onTimer;
    std::function<bool()> m_probe;
};
