#include "display/LiveRaceFeed.h"

#include "base/MonotonicClock.h"
#include "base/UserError.h"
#include "config/DataFolder.h"
#include "config/TSettings.h"

LiveRaceFeed::LiveRaceFeed(const TSettings& settings, const QString& dataFolder, MonotonicClock& clock,
                           std::function<int()> raceMinutes, QObject* parent)
    : QObject(parent), m_settings(settings), m_dataFolder(dataFolder), m_clock(clock),
      m_raceMinutes(std::move(raceMinutes)) {
    m_snapshot.raceList = m_progress.rows();
}

void LiveRaceFeed::raceStarted(qint64 startUs) {
    m_snapshot.running = true;
    m_snapshot.startUs = startUs;
    m_snapshot.elapsedMs = 0;
    for (QList<qint64>& laps : m_snapshot.laps)
        laps.clear();
    publish();
}

void LiveRaceFeed::lapClosed(int kart, qint64 lapMs) {
    if (kart < 1 || kart > 4)
        return;
    QList<qint64>& laps = m_snapshot.laps[kart - 1];
    m_progress.StavZavodu(QStringLiteral("kara%1").arg(kart), lapMs, int(laps.size()),
                          m_settings.TVOUT.TypZobrazeni);
    laps.append(lapMs);
    m_snapshot.raceList = m_progress.rows();
    publish();
}

void LiveRaceFeed::raceStopped() {
    if (!m_snapshot.running)
        return;
    m_snapshot.running = false;
    m_snapshot.elapsedMs = (m_clock.nowUs() - m_snapshot.startUs) / 1000;
    publish();
}

void LiveRaceFeed::reloadTopTen() {
    const DataFolder folder(m_dataFolder);
    // The page is a courtesy: a table the operator is told about elsewhere stays as it was here.
    try {
        m_snapshot.men = readTopTen(folder.filePath(QStringLiteral("TopDeset.ini")));
    } catch (const UserError&) {
    }
    try {
        m_snapshot.women = readTopTen(folder.filePath(QStringLiteral("TopDeset1.ini")));
    } catch (const UserError&) {
    }
    publish();
}

void LiveRaceFeed::publish() {
    if (m_raceMinutes)
        m_snapshot.raceMinutes = m_raceMinutes();
    emit published(m_snapshot);
}
