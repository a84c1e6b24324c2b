#pragma once

#include "base/ITimer.h"

// A timer that keeps its enable, interval and zero rule itself, with the threaded timer's rules: the
// same value does nothing, and any change restarts the wait. What measures the wait is the subclass's.
class StoredSettingsTimer : public ITimer {
public:
    bool enabled() const override { return m_enabled; }
    void setEnabled(bool on) override {
        if (on == m_enabled)
            return;
        m_enabled = on;
        restart();
    }
    quint32 interval() const override { return m_interval; }
    void setInterval(quint32 ms) override {
        if (ms == m_interval)
            return;
        m_interval = ms;
        restart();
    }
    bool allowZero() const override { return m_allowZero; }
    void setAllowZero(bool allow) override {
        if (allow == m_allowZero)
            return;
        m_allowZero = allow;
        restart();
    }

protected:
    // After every change: a full wait when the timer runs, none otherwise.
    virtual void restart() = 0;
    bool runs() const { return m_enabled && (m_interval > 0 || m_allowZero); }

private:
    bool m_enabled = false;
    bool m_allowZero = false;
    quint32 m_interval = 1000;
};
