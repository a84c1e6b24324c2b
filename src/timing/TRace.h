#pragma once

#include "timing/RaceHooks.h"
#include "timing/TLapChannel.h"

#include <QDateTime>
#include <QString>
#include <QtGlobal>

#include <array>
#include <atomic>
#include <functional>

class DriverNames;
class ITimer;
class JournalSink;
class LapList;
class MonotonicClock;
class RaceView;
class SerialSensorPort;
class SoundPlayer;
class StartLights;
class TSmallPort;
struct RecoveredRace;
struct TSettings;

// The timers of the race, created and owned by the main window. The race installs the tick handlers
// of the samplers, the dead timers and the display timer, and sets their fixed properties (samplers
// 2 ms with AllowZero, display 251 ms). A sampler's probe reads the sensor where the sampler wakes and
// stamps what it finds; only a hit reaches the main thread, which closes the lap at the stamp. The pulse
// timers' handlers belong to ControlPulse; the race only restarts HwLOG0Timer at each lap. extStart is the
// external start watch's timer (may be null).
struct RaceTimers {
    std::array<ITimer*, 4> samplers{};   // Timer1 .. Timer4
    std::array<ITimer*, 4> deadTimers{}; // ProdlevaTimer1 .. ProdlevaTimer4
    ITimer* display = nullptr;           // ZobrazTimer
    ITimer* hwLog0 = nullptr;            // HwLOG0Timer
    ITimer* hwLog1 = nullptr;            // HWLOG1Timer
    ITimer* extStart = nullptr;          // ExtStart
};

// Everything the race borrows. All references must outlive the race.
struct RaceDeps {
    TSettings& settings;
    TSmallPort& port;
    MonotonicClock& clock;
    RaceTimers timers;
    std::array<LapList*, 4> lapLists; // Kola_mezicas1 .. Kola_mezicas4
    SoundPlayer& sound;
    StartLights& lights;
    RaceView& view;
    SerialSensorPort* serial = nullptr;
    // The data folder ("zvuky" and "vysledky" are in it). Empty: no lap files are kept.
    QString dataFolder;
    // Wall clock for the names of the kept lap files; empty means the local current time.
    std::function<QDateTime()> wallClock;
    // The drivers' names, kept beside the lap files and cleared at START; may be null.
    DriverNames* names = nullptr;
};

// The race: START and STOP, the four lap channels, the display tick and the race end.
class TRace {
public:
    enum class RaceState { Idle, Running };

    static constexpr quint32 SamplerIntervalMs = 2;
    static constexpr quint32 DisplayIntervalMs = 251;
    // Half a sensor pulse: samples further apart than this may miss a passing kart.
    static constexpr qint64 LateSampleMs = 20;
    // Probes closer together than this belong to one beat of the sampler.
    static constexpr qint64 SharedNoticeUs = 500;

    explicit TRace(RaceDeps deps);
    TRace(const TRace&) = delete;
    TRace& operator=(const TRace&) = delete;

    RaceHooks& hooks() { return m_hooks; }

    // Where each race is journaled (null: nowhere): every pass is durable there before the lap list
    // shows it, and so is every change the operator makes to a list during the race. The journal goes
    // when the race has ended in full.
    void setJournal(JournalSink* journal) { m_journal = journal; }
    // Ends a race that a crash or a power cut left unfinished as STOP would have ended it at its last
    // pass: its lists as the operator left them, the kept lap files, the engine time, the best-twenty
    // insertion, without what its journal says was done already. The race must be at rest.
    // resumeJournal: its marks are added to the journal as they are done.
    void finishRecoveredRace(const RecoveredRace& recovered, bool resumeJournal);

    RaceState state() const { return m_state; }
    bool running() const { return m_state == RaceState::Running; }
    // The clock instant the race started at: green of the lights, the press of the external button,
    // or the START click.
    qint64 startUs() const { return m_startUs; }
    qint64 startTick() const { return m_startUs / 1000; }
    // The local time the last race started; invalid before the first race.
    QDateTime startWallTime() const { return m_startWallTime; }
    qint64 clockElapsed() const { return m_clockElapsed; }
    bool endPending() const { return m_endPending; }
    // The chequered flag is out (`Zavod/Dojeti`): the race time ended and the karts drive their last lap.
    bool flagShown() const { return m_flagShown; }
    // Kart 1..4 has passed the line since the flag: its last lap is in.
    bool finished(int kart) const { return m_finished[kart - 1]; }
    quint8 endRedMask() const { return m_endRedMask; }
    // Taken once at program start from `Semafor/Cervena`.
    void setEndRedMask(quint8 mask) { m_endRedMask = mask; }

    // Kart 1..4.
    TLapChannel& channel(int kart) { return m_channels[kart - 1]; }
    const TLapChannel& channel(int kart) const { return m_channels[kart - 1]; }

    // Start-up: the dead timers' interval from `HW/Prodleva`.
    void setDeadTimeInterval(quint32 ms);

    // The START/STOP action. A serial port that cannot be opened leaves the race at rest; an end
    // sound that cannot be opened is reported once and the race is timed without it. STOP always
    // completes; list entries that are not lap times are left out of the accounting and named in
    // one message at its end. pressUs is the clock instant of the external button's press that asks
    // for it: a race started without lights starts there, not when the main thread gets to it.
    void StartButton1Click(qint64 pressUs = TLapChannel::NoHit);
    void start(qint64 pressUs = TLapChannel::NoHit);
    void stop();

    // Back to rest without accounting (STOP, and closing the main window).
    void Reset_Promenych();
    // Closing the program: a running race is kept in "vysledky" as STOP keeps it, not accounted, and
    // put at rest.
    void closeProgram();
    // Hands each kart's listed laps, each cut to whole seconds, to its engine time. Entries that are
    // not lap times are skipped and returned as "kart, entry" texts for the operator.
    QStringList AccountEngineTime();

    // A sampler's probe, from any thread: reads kart's sensor and takes its pending serial hit; true,
    // with the hit's instant in the channel's HitUs, when there is a hit.
    bool sensorProbe(int kart);
    // The sampler's handler: closes the lap at the instant the probe stamped.
    void takeHit(int kart);
    // Tick handlers; installed on the timers, public for the main window's named handlers.
    void deadTimeEnd(int kart); // ProdlevaTimer1Timer .. ProdlevaTimer4Timer
    void ZobrazTimerTimer();
    // The race-time field changed.
    void CasZavoduChange(int minutes);

    // The race's lap files of the last STOP, "yyyy-MM-dd HH-mm-ss karaK.txt"; a name already taken
    // gets " (2)", " (3)", ... before ".txt" (two races in one second, or a clock set back).
    static QString keptLapFileName(const QDateTime& start, int kart);
    static QString freeKeptLapFilePath(const QString& folder, const QDateTime& start, int kart);

private:
    void closeLap(TLapChannel& channel, qint64 hitUs);
    // STOP's steps after the race is at rest, less those a recovered race had done.
    void endRace(bool engineTimeStored, bool lapFilesKept);
    // A journal call; a failure is told once, after the lap it concerns is shown.
    void journalCall(const std::function<void()>& call);
    void tellJournalProblem();
    void finishJournal();
    void operatorChangedList(int kart);
    // What the probes need of the settings, taken on the main thread whenever a channel starts
    // sampling, so that the worker never reads the settings the windows change.
    void takeSensorSettings();
    void keepLapFiles();
    void showFlag(qint64 nowUs);
    // At each display tick under the flag: the STOP when every kart with laps finished or the limit passed.
    void checkFinish(qint64 nowUs);
    void hideFlag();
    void returnToRest();
    bool openEndSound();
    QString soundFilePath() const;

    TSettings& m_settings;
    TSmallPort& m_port;
    MonotonicClock& m_clock;
    RaceTimers m_timers;
    SoundPlayer& m_sound;
    StartLights& m_lights;
    RaceView& m_view;
    SerialSensorPort* m_serial;
    DriverNames* m_names;
    QString m_dataFolder;
    std::function<QDateTime()> m_wallClock;
    RaceHooks m_hooks;
    JournalSink* m_journal = nullptr;
    QString m_journalProblem;     // a failed journal call not yet told
    bool m_journalFailed = false; // told once per race
    bool m_appending = false;     // the race appends a lap: no change of the operator's

    std::array<TLapChannel, 4> m_channels;
    RaceState m_state = RaceState::Idle;
    qint64 m_startUs = 0;
    qint64 m_clockElapsed = 0;
    bool m_endPending = false;
    bool m_endSound = false; // the end sound was opened at START
    quint8 m_endRedMask = 0;
    QDateTime m_startWallTime;
    bool m_flagShown = false;
    qint64 m_flagUs = 0;
    std::array<bool, 4> m_finished{};
    // Counts STOPs, so that a lap whose nested event processing saw the race stop does not re-arm
    // its channel.
    quint64 m_stopCount = 0;
    std::atomic<int> m_lateSamples{0}; // counted by the probes
    int m_lateSamplesShown = 0;
    std::atomic<bool> m_sampleParallelPort{false};
    std::atomic<bool> m_watchSerialLine{false};
    // The last beat whose probes told the serial port to look: one look serves all four karts.
    std::atomic<qint64> m_serialNoticeUs{0};
    std::atomic<bool> m_sensorActiveHigh{false};
};
