#pragma once

#include <QString>
#include <QtGlobal>

#include <array>
#include <functional>

class CalloutQueue;
struct Callout;
class DriverNames;
class MonotonicClock;
struct TSettings;

// What the race's events say, by the settings of section "Hlas" read at each event: the lap times
// (every lap, a kart's best lap of the race, or a new best-twenty record; only the chosen karts), the
// last minute and the end of the race. The words go to the queue in the order of the events.
class Callouts {
public:
    Callouts(TSettings& settings, const DriverNames& names, CalloutQueue& queue, MonotonicClock& clock);

    // Whether the lap of kart 1..4 is a new record of the best-twenty tables (for `Hlas/Co` 2);
    // never when empty.
    std::function<bool(int kart, qint64 lapMs)> isRecord;

    // A new race: no best laps yet, nothing said of its end.
    void raceStarted();
    // After the lap is durable and shown; hitUs is the clock instant of the pass.
    void lapClosed(int kart, qint64 lapMs, qint64 hitUs);
    // The race clock's minutes field changed.
    void minuteShown(int minutes, int raceMinutes);
    // The race time is over (its sound, when there is one, has just begun and comes first).
    void raceTimeEnded();
    // "Vyzkoušet".
    void sample();

    // Who kart 1..4 is, in a call-out: its driver's name when known, else its nickname.
    QString who(int kart) const;

private:
    bool wanted(int kart) const;
    // With the speed and volume the settings give now.
    void push(Callout callout);

    TSettings& m_settings;
    const DriverNames& m_names;
    CalloutQueue& m_queue;
    MonotonicClock& m_clock;
    std::array<qint64, 4> m_bestMs{};
    bool m_lastMinuteSaid = false;
};
