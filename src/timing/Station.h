#pragma once

#include "hardware/StartLights.h"
#include "timing/DriverNames.h"

#include <QDateTime>
#include <QString>

#include <array>
#include <functional>
#include <memory>

class ControlPulse;
class ExternalStartWatch;
class ITimer;
class JournalSink;
class LapList;
class MonotonicClock;
class PortBackend;
class RaceView;
class SerialPortRecovery;
class SerialSensorInput;
class SerialSensorPort;
class SoundPlayer;
class TComPort;
class TRace;
class TSmallPort;
class TimerFactory;
struct TSettings;

// What the station's timing parts are made of. The references must outlive the station.
struct StationDeps {
    TSettings& settings;
    QString dataFolder; // holds "zvuky" and "vysledky"; empty: no lap files are kept
    std::unique_ptr<PortBackend> portBackend;
    MonotonicClock& clock;
    TimerFactory& timers;
    SoundPlayer& sound;
    RaceView& view;
    // How the light sequence waits; a real sleep when empty. Virtual time passes one that moves it.
    StartLights::WaitFunction lightWait = {};
    // The port the race opens at START and closes at STOP; the station's own ComPort1 when null.
    SerialSensorPort* raceSerial = nullptr;
    // Names the kept lap files; the local time when empty.
    std::function<QDateTime()> wallClock = {};
};

// The station's timing parts, built once and wired together: the parallel port SmallPort1 and the
// serial port ComPort1, the race with its four lap lists, the lights, the control pulse, the external
// start watch, the serial input bound to the race's channels, and every timer they run on
// (the samplers Timer1..4 and ExtStart, ProdlevaTimer1..4, ZobrazTimer, HwLOG0Timer, HWLOG1Timer,
// SerialQuietTimer, which settles a held start of a serial sequence, and SerialPollTimer, which reopens
// ComPort1 when its device is back during a race). The main window shows it; tests and benchmarks build the
// same station on virtual or real time.
class Station {
public:
    static constexpr int KartCount = 4;

    explicit Station(StationDeps deps);
    ~Station();
    Station(const Station&) = delete;
    Station& operator=(const Station&) = delete;

    TSettings& settings() { return m_settings; }
    TSmallPort& port() { return *m_port; }
    TComPort& comPort() { return *m_comPort; }
    SerialSensorInput& serialInput() { return *m_serialInput; }
    SerialPortRecovery& serialRecovery() { return *m_serialRecovery; }
    TRace& race() { return *m_race; }
    StartLights& lights() { return *m_lights; }
    ControlPulse& controlPulse() { return *m_controlPulse; }
    ExternalStartWatch& externalStart() { return *m_externalStart; }
    // Kart 1..4.
    LapList& lapList(int kart) { return *m_lapLists.at(kart - 1); }
    // Who drives the karts: the names every view of a kart shows.
    DriverNames& driverNames() { return *m_driverNames; }
    ITimer& sampler(int kart) { return *m_samplers.at(kart - 1); }
    ITimer& displayTimer() { return *m_displayTimer; }

    // The first activation's steps for these parts, after the settings file has been read and the
    // port opened: the external start watch, the pulse and dead-time intervals, and on an open port
    // its base and resting value. A third base that is no hexadecimal number is reported through the
    // view and LPT1 is used instead.
    void applyStartupSettings();
    // The activation's last steps for them, after any port error has been shown: the start-up pulse
    // and the race-end red.
    void startAfterStartup();

    // Closing: a running race kept and put at rest without accounting, then both ports closed.
    void shutDown();

private:
    TSettings& m_settings;
    RaceView& m_view;
    std::unique_ptr<TSmallPort> m_port;
    std::unique_ptr<TComPort> m_comPort;
    SerialSensorPort* m_raceSerial;
    std::array<std::unique_ptr<LapList>, KartCount> m_lapLists;
    std::unique_ptr<DriverNames> m_driverNames = std::make_unique<DriverNames>();
    std::unique_ptr<StartLights> m_lights;
    std::unique_ptr<ControlPulse> m_controlPulse;
    // The race's journal in "vysledky" (none without a data folder); before the race, which writes it.
    std::unique_ptr<JournalSink> m_journal;
    std::unique_ptr<TRace> m_race;
    std::unique_ptr<SerialSensorInput> m_serialInput;
    std::unique_ptr<SerialPortRecovery> m_serialRecovery;
    std::unique_ptr<ExternalStartWatch> m_externalStart;
    // Declared last so that they stop before the parts whose handlers they run go.
    std::array<std::unique_ptr<ITimer>, KartCount> m_samplers;
    std::array<std::unique_ptr<ITimer>, KartCount> m_deadTimers;
    std::unique_ptr<ITimer> m_displayTimer;
    std::unique_ptr<ITimer> m_hwLog0Timer;
    std::unique_ptr<ITimer> m_hwLog1Timer;
    std::unique_ptr<ITimer> m_extStartTimer;
    std::unique_ptr<ITimer> m_serialQuietTimer;
    std::unique_ptr<ITimer> m_serialPollTimer;
};
