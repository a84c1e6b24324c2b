#pragma once

#include "publish/MqttConnection.h"
#include "publish/PassTracker.h"

#include <QDateTime>
#include <QObject>
#include <QString>

#include <functional>
#include <memory>
#include <optional>

class DriverNames;
class MonotonicClock;
class MqttPublisher;
struct LiveSnapshot;
struct TSettings;

// The race on the broker: each new pass of the live state, the state itself, the result once the race
// is kept, through a publisher made from the section "MQTT" (and made anew when it changes). The publisher's
// trouble is one notice for the status bar.
class MqttLink : public QObject {
    Q_OBJECT
public:
    // raceStart gives the local time the race started (a recovered race's too): the race's id.
    // showNotice gets the notice whenever it changes (empty: all is well).
    MqttLink(const TSettings& settings, const QString& dataFolder, const DriverNames& names,
             MonotonicClock& clock, std::function<QDateTime()> raceStart,
             std::function<void(const QString& notice)> showNotice, QObject* parent = nullptr);
    ~MqttLink() override;

    // Reads the section "MQTT": starts, restarts or ends the publisher.
    void apply();
    void raceStarted();
    // The live state at each change; its new laps are the passes.
    void publishSnapshot(const LiveSnapshot& snapshot);
    // The race is kept, its lists final (a STOP's rules applied): their laps are the result.
    void raceKept(const LiveSnapshot& snapshot);

private:
    void showStatus();
    // The id of the race whose start raceStart gives; the present moment's when it gives none.
    QString currentRaceId() const;

    const TSettings& m_settings;
    const QString m_outboxFolder;
    const DriverNames& m_names;
    MonotonicClock& m_clock;
    std::function<QDateTime()> m_raceStart;
    std::function<void(const QString&)> m_showNotice;
    std::unique_ptr<MqttPublisher> m_publisher;
    std::optional<MqttConnection> m_connection;
    PassTracker m_tracker;
    QString m_raceId;
    QString m_notice;
};
