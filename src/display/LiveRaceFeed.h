#pragma once

#include "display/LiveSnapshot.h"

#include <QObject>
#include <QString>

#include <functional>

class MonotonicClock;
struct TSettings;

// The race as the live results page sees it, kept on the race's own thread: the start, every lap as
// it closes, the stop and the two top-ten lists. Each change is handed on whole as a snapshot, which
// costs the race a copy of a few small lists and nothing else.
class LiveRaceFeed : public QObject {
    Q_OBJECT

public:
    // raceMinutes reads the race-time field at each change.
    LiveRaceFeed(const TSettings& settings, const QString& dataFolder, MonotonicClock& clock,
                 std::function<int()> raceMinutes, QObject* parent = nullptr);

    const LiveSnapshot& snapshot() const { return m_snapshot; }

    void raceStarted(qint64 startUs);
    void lapClosed(int kart, qint64 lapMs);
    void raceStopped();
    // Both best-twenty files again; a file that cannot be read leaves its list as it was.
    void reloadTopTen();

signals:
    void published(const LiveSnapshot& snapshot);

private:
    void publish();

    const TSettings& m_settings;
    QString m_dataFolder;
    MonotonicClock& m_clock;
    std::function<int()> m_raceMinutes;
    TRaceProgress m_progress;
    LiveSnapshot m_snapshot;
};
