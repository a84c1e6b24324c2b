#pragma once

#include "base/ITimer.h"

#include <QString>

#include <memory>

// How a timer is measured. The station's parts ask for the kind they need; the program makes
// threaded or message timers, tests make virtual ones that run on virtual time.
enum class TimerKind {
    Sensor,   // a lap sensor's or the start button's poll, with a probe: the station's sensors are
              // probed together on one worker at the highest priority, the main thread woken for hits
    Sampler,  // another fast poll: its own worker thread at the highest priority
    Threaded, // its own worker thread at normal priority (dead time, display, control pulse)
    Message,  // the window system's timer (slow watches that need no worker)
};

class TimerFactory {
public:
    virtual ~TimerFactory() = default;
    // name becomes the timer's object name where the timer has one (Timer1, ZobrazTimer, ...).
    virtual std::unique_ptr<ITimer> createTimer(const QString& name, TimerKind kind) = 0;
};
