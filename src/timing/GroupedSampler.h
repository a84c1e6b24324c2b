#pragma once

#include "base/StoredSettingsTimer.h"
#include "timing/SamplerGroup.h"

#include <QObject>

#include <memory>

// A sampler timed by the station's sampler group: the ITimer rules (the same value does nothing, a
// new interval restarts a running wait, the handler runs on the main thread only while enabled), with
// the probe run on the group's worker. Its first tick comes at the group's next beat, at most one
// interval after enabling, so that samplers enabled at different instants still share wake-ups.
class GroupedSampler : public QObject, public StoredSettingsTimer {
    Q_OBJECT

public:
    explicit GroupedSampler(std::shared_ptr<SamplerGroup> group, QObject* parent = nullptr);
    // Returns once the worker no longer runs this sampler's probe; a tick already handed over is
    // dropped.
    ~GroupedSampler() override;

protected:
    bool event(QEvent* event) override;
    void restart() override;

private:
    std::shared_ptr<SamplerGroup> m_group;
    std::shared_ptr<SamplerGroup::Member> m_member;
};
