#pragma once

#include <QString>
#include <QtGlobal>

#include <array>
#include <functional>

// Calls from the race into windows built after it. Each later part fills its member; an empty member
// does nothing (a getter that is empty gives an empty text).
struct RaceHooks {
    // Audience window, only while `TVOUT/Pouzit` is on (its race list follows the lap lists).
    // At every display tick; the window writes seconds and minutes only when they changed.
    std::function<void(int millis, int seconds, int minutes)> audienceClock;
    // At every change of `CasZavodu`.
    std::function<void(int minutes)> audienceRaceLength;

    // Live results page, whatever `TVOUT/Pouzit` says (its laps follow the lap lists): the start
    // instant (race clock) and the race at rest again. The start also brings back an audience
    // window that was closed.
    std::function<void(qint64 startUs)> raceStarted;
    std::function<void()> raceAtRest;
    // The race is kept, its lap lists final: after a STOP's rules dropped the laps it drops (the first,
    // the short ones) and its lap files are kept, after a race recovered from its journal likewise,
    // and after the program's close kept a running race.
    std::function<void()> raceKept;

    // The chequered flag fell (true) or the race is at rest again after it (false): the audience window
    // and the live page show it.
    std::function<void(bool shown)> chequeredFlag;
    // After a STOP the race made by itself: every kart finished its last lap, or the limit passed.
    std::function<void()> stoppedByItself;

    // Spoken call-outs: a lap of kart 1..4 closed (after the journal has it and the lap list shows
    // it), with the clock instant of its pass; the clock's minutes field changed (with the race time
    // in minutes); the race time is over (after its end sound has started).
    std::function<void(int kart, qint64 lapMs, qint64 hitUs)> lapClosed;
    std::function<void(int minutes, int raceMinutes)> raceMinute;
    std::function<void()> raceTimeEnded;

    // Kart upkeep: the race's driving of kart 1..4 in whole seconds, added to its engine time.
    std::function<void(int kart, qint64 seconds)> addDriven;

    // Kart upkeep at STOP, in this order.
    std::function<void()> UpdateFuelFigures;
    std::function<void()> CheckFuel;
    std::function<void()> kartStateOk; // the kart state window's OKClick: stores the kart state

    // Reminder window: shown modally when any of its four texts is not empty; returns when closed.
    std::function<void()> showRemindersIfAny;

    // Best-twenty insertion of each kart's best lap.
    std::function<void()> TopTenDeset;

    // Whether a START or STOP may happen now (false while the data files are being backed up or
    // restored); the filler says why where the operator sees it. Empty: always.
    std::function<bool()> startStopAllowed;
};
