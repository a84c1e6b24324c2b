#pragma once

#include "base/ITimer.h"
#include "timing/SamplerGroup.h"

#include <QObject>

#include <memory>

// A sampler timed by the station's sampler group: the ITimer rules (the same value does nothing, a
// new interval restarts a running wait, the handler runs on the main thread only while enabled), with
// the probe run on the group's worker. Its first tick comes at the group's next beat, at most one
// interval after enabling, so that samplers enabled at different instants still share wake-ups.
class GroupedSampler : public QObject, public ITimer {
    Q_OBJECT

public:
    explicit GroupedSampler(std::shared_ptr<SamplerGroup> group, QObject* parent = nullptr);
    // Returns once the worker no longer runs this sampler's probe; a tick already handed over is
    // dropped.
    ~GroupedSampler() override;

    bool enabled() const override { return m_enabled; }
    void setEnabled(bool on) override;
    quint32 interval() const override { return m_interval; }
    void setInterval(quint32 ms) override;
    bool allowZero() const override { return m_allowZero; }
    void setAllowZero(bool allow) override;

protected:
    bool event(QEvent* event) override;

private:
    void restart();

    std::shared_ptr<SamplerGroup> m_group;
    std::shared_ptr<SamplerGroup::Member> m_member;
    bool m_enabled = false;
    bool m_allowZero = false;
    quint32 m_interval = 1000;
};
