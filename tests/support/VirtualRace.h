#pragma once

#include "FakeClock.h"
#include "FakePortBackend.h"
#include "FakeSerialSensorPort.h"
#include "FakeSoundPlayer.h"
#include "RecordingRaceView.h"
#include "VirtualScheduler.h"
#include "VirtualTimer.h"

#include "config/TSettings.h"
#include "hardware/ControlPulse.h"
#include "hardware/ExternalStartWatch.h"
#include "hardware/StartLights.h"
#include "hardware/TSmallPort.h"
#include "timing/LapList.h"
#include "timing/TRace.h"

#include <QDateTime>

#include <array>
#include <memory>

// The race as the main window assembles it, on virtual time: fake clock, virtual timers, a fake port
// at base 888 (open), a recording view, a fake sound player and serial port. The light sequence's
// waits block the virtual main thread. Members are public so that tests reach every part.
class VirtualRace {
public:
    explicit VirtualRace(const QString& dataFolder = QString());
    ~VirtualRace();

    // The main window's first activation, as far as these parts go: the watch, the intervals, the
    // resting value and the start-up pulse.
    void startUp();

    // Kart k's sensor is active (its status bit high) from atMs for holdMs.
    void passSensor(int kart, qint64 atMs, qint64 holdMs = 5);
    // Milliseconds since the race's start instant.
    qint64 raceTime() const { return clock.nowMs() - race->startTick(); }
    QStringList laps(int kart) const { return lists[kart - 1]->entries(); }

    FakeClock clock;
    VirtualScheduler scheduler{clock};
    TSettings settings;
    FakePortBackend* backend = nullptr; // owned by port
    std::unique_ptr<TSmallPort> port;

    std::array<std::unique_ptr<VirtualTimer>, 4> samplers;
    std::array<std::unique_ptr<VirtualTimer>, 4> deadTimers;
    std::unique_ptr<VirtualTimer> display;
    std::unique_ptr<VirtualTimer> hwLog0;
    std::unique_ptr<VirtualTimer> hwLog1;
    std::unique_ptr<VirtualTimer> extStart;

    std::array<std::unique_ptr<LapList>, 4> lists;
    FakeSoundPlayer sound;
    FakeSerialSensorPort serial;
    RecordingRaceView view;
    QDateTime wallClock{QDate(2026, 12, 9), QTime(14, 5, 33)};

    std::unique_ptr<StartLights> lights;
    std::unique_ptr<ControlPulse> pulse;
    std::unique_ptr<TRace> race;
    std::unique_ptr<ExternalStartWatch> watch;
};
