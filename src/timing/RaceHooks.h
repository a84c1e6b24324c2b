#pragma once

#include <QString>
#include <QtGlobal>

#include <functional>

// Calls from the race into windows built after it. Each later part fills its member; an empty member
// does nothing (a getter that is empty gives an empty text).
struct RaceHooks {
    // Audience window, only while `TVOUT/Pouzit` is on.
    // At every lap, before the lap enters the list: kart name, lap in ms, entries before this lap.
    std::function<void(const QString& kartName, qint32 lapMs, int lapsBefore)> StavZavodu;
    // At every display tick; the window writes seconds and minutes only when they changed.
    std::function<void(int millis, int seconds, int minutes)> audienceClock;
    // At every change of `CasZavodu`.
    std::function<void(int minutes)> audienceRaceLength;

    // Live results page, whatever `TVOUT/Pouzit` says: the start instant (race clock), each lap as it
    // enters the list (kart 1..4, lap in ms), and the race at rest again.
    std::function<void(qint64 startUs)> raceStarted;
    std::function<void(int kart, qint64 lapMs)> lapClosed;
    std::function<void()> raceAtRest;

    // Kart state window: the engine-time field `Najeto`k (kart 1..4) as its text.
    std::function<QString(int kart)> engineTimeText;
    std::function<void(int kart, const QString& text)> setEngineTimeText;

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
