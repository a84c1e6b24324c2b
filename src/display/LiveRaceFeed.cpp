#include "display/LiveRaceFeed.h"

#include "base/MonotonicClock.h"
#include "display/TRaceProgress.h"

LiveRaceFeed::LiveRaceFeed(const TRaceProgress& progress, MonotonicClock& clock,
                           std::function<int()> raceMinutes, QObject* parent)
    : QObject(parent), m_progress(progress), m_clock(clock), m_raceMinutes(std::move(raceMinutes)) {
    connect(&m_progress, &TRaceProgress::changed, this, [this] {
        takeProgress();
        publish();
    });
    takeProgress();
}

void LiveRaceFeed::takeProgress() {
    for (int k = 1; k <= 4; ++k) {
        m_snapshot.laps[k - 1] = m_progress.laps(k);
        m_snapshot.best[k - 1] = m_progress.bestLap(k);
    }
    m_snapshot.raceList = m_progress.rows();
}

void LiveRaceFeed::raceStarted(qint64 startUs) {
    m_snapshot.running = true;
    m_snapshot.startUs = startUs;
    m_snapshot.elapsedMs = 0;
    publish();
}

void LiveRaceFeed::raceStopped() {
    if (!m_snapshot.running)
        return;
    m_snapshot.running = false;
    m_snapshot.elapsedMs = (m_clock.nowUs() - m_snapshot.startUs) / 1000;
    publish();
}

void LiveRaceFeed::setFlag(bool shown) {
    if (m_snapshot.flag == shown)
        return;
    m_snapshot.flag = shown;
    publish();
}

void LiveRaceFeed::setTopTen(const QList<TopTenRow>& men, const QList<TopTenRow>& women) {
    m_snapshot.men = men;
    m_snapshot.women = women;
    publish();
}

// At every change, not only a lap's: the tables and who drives a kart change between laps.
void LiveRaceFeed::markRecords() {
    for (int k = 1; k <= 4; ++k) {
        const QList<qint64>& laps = m_snapshot.laps[k - 1];
        const std::optional<qint64>& best = m_snapshot.best[k - 1];
        // Only the kart's best lap is offered to the tables at STOP: a slower last lap is no record.
        m_snapshot.lastRecord[k - 1] =
            isRecord && !laps.isEmpty() && best && laps.last() == *best && isRecord(k, laps.last());
        m_snapshot.bestRecord[k - 1] = isRecord && best && isRecord(k, *best);
    }
}

void LiveRaceFeed::publish() {
    markRecords();
    if (m_raceMinutes)
        m_snapshot.raceMinutes = m_raceMinutes();
    emit published(m_snapshot);
}
