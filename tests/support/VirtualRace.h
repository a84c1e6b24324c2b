#pragma once

#include "FakeClock.h"
#include "FakePortBackend.h"
#include "FakeSerialSensorPort.h"
#include "FakeSoundPlayer.h"
#include "RecordingRaceView.h"
#include "VirtualScheduler.h"
#include "VirtualTimer.h"
#include "VirtualTimerFactory.h"

#include "config/TSettings.h"
#include "hardware/ControlPulse.h"
#include "hardware/ExternalStartWatch.h"
#include "hardware/StartLights.h"
#include "hardware/TSmallPort.h"
#include "timing/LapList.h"
#include "timing/Station.h"
#include "timing/TRace.h"

#include <QDateTime>

#include <array>
#include <memory>

// The station as the main window builds it, on virtual time: fake clock, virtual timers, a fake port
// at base 888 (open), a recording view, a fake sound player and serial port. The light sequence's
// waits block the virtual main thread. The members name the station's parts so that tests reach
// every one.
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
    VirtualTimerFactory timers{scheduler};
    TSettings settings;
    FakeSoundPlayer sound;
    FakeSerialSensorPort serial;
    RecordingRaceView view;
    QDateTime wallClock{QDate(2026, 12, 9), QTime(14, 5, 33)};
    FakePortBackend* backend = nullptr; // owned by the station's port

    std::unique_ptr<Station> station;
    TSmallPort* port = nullptr;
    std::array<VirtualTimer*, 4> samplers{};
    std::array<VirtualTimer*, 4> deadTimers{};
    VirtualTimer* display = nullptr;
    VirtualTimer* hwLog0 = nullptr;
    VirtualTimer* hwLog1 = nullptr;
    VirtualTimer* extStart = nullptr;
    std::array<LapList*, 4> lists{};
    StartLights* lights = nullptr;
    ControlPulse* pulse = nullptr;
    TRace* race = nullptr;
    ExternalStartWatch* watch = nullptr;
};
