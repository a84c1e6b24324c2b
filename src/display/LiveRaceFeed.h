#pragma once

#include "display/LiveSnapshot.h"

#include <QObject>
#include <QString>

#include <functional>

class MonotonicClock;
class TRaceProgress;

// The race as the live results page sees it, kept on the race's own thread: the start, the laps and
// standings of the race progress model at each of its changes, the stop and the two top-ten lists.
// Each change is handed on whole as a snapshot, which costs the race a copy of a few small lists and
// nothing else.
class LiveRaceFeed : public QObject {
    Q_OBJECT

public:
    // raceMinutes reads the race-time field at each change.
    LiveRaceFeed(const TRaceProgress& progress, MonotonicClock& clock, std::function<int()> raceMinutes,
                 QObject* parent = nullptr);

    const LiveSnapshot& snapshot() const { return m_snapshot; }

    // Whether kart 1..4's lap would enter its driver's best-twenty table: the page marks it as a new
    // record. Never when empty.
    std::function<bool(int kart, qint64 lapMs)> isRecord;

    void raceStarted(qint64 startUs);
    void raceStopped();
    // The chequered flag shown or taken in.
    void setFlag(bool shown);
    // The first ten rows of the men's and women's best-twenty tables.
    void setTopTen(const QList<TopTenRow>& men, const QList<TopTenRow>& women);

signals:
    void published(const LiveSnapshot& snapshot);

private:
    void takeProgress();
    void markRecords();
    void publish();

    const TRaceProgress& m_progress;
    MonotonicClock& m_clock;
    std::function<int()> m_raceMinutes;
    LiveSnapshot m_snapshot;
};
