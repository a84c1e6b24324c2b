#pragma once

#include "base/StoredSettingsTimer.h"

#include <QString>

#include <limits>
#include <memory>

class VirtualScheduler;

// A timer on virtual time with the threaded timer's rules: the first tick one full interval after
// enabling, setting the current value does nothing, a new interval restarts a running wait, and the
// handler runs only while enabled. Interval 0 with AllowZero ticks once per virtual millisecond.
// The probe runs at the tick; with a hand-over delay, a tick whose probe found something reaches the
// handler only that much later, as a real worker's tick waits for a busy main thread, and the timer
// does not tick again before its handler has run.
class VirtualTimer : public StoredSettingsTimer {
public:
    static constexpr qint64 Never = std::numeric_limits<qint64>::max();

    VirtualTimer(VirtualScheduler& scheduler, QString name = QString());
    ~VirtualTimer() override;
    VirtualTimer(const VirtualTimer&) = delete;
    VirtualTimer& operator=(const VirtualTimer&) = delete;

    const QString& name() const { return m_name; }
    void setHandOverDelayMs(qint64 ms) { m_handOverDelayMs = ms; }
    // Virtual instant of the next tick, Never when none is coming.
    qint64 due() const { return m_due; }
    int ticks() const { return m_ticks; }

    // Called by the scheduler when the timer is due: the next wait starts now, then the handler runs.
    void tick(qint64 now);

protected:
    void restart() override;

private:
    void runHandedOver();

    VirtualScheduler& m_scheduler;
    QString m_name;
    qint64 m_due = Never;
    int m_ticks = 0;
    qint64 m_handOverDelayMs = 0;
    bool m_inFlight = false;
    std::shared_ptr<bool> m_alive = std::make_shared<bool>(true);
};
