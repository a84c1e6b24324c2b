#pragma once

#include "publish/MqttConnection.h"
#include "publish/PassTracker.h"

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

// The race on the broker: each new pass of the live state, the state itself, the result at the rest,
// through a publisher made from the section "MQTT" (and made anew when it changes). The publisher's
// trouble is one notice for the status bar.
class MqttLink : public QObject {
    Q_OBJECT
public:
    // showNotice gets the notice whenever it changes (empty: all is well).
    MqttLink(const TSettings& settings, const QString& dataFolder, const DriverNames& names,
             MonotonicClock& clock, std::function<void(const QString& notice)> showNotice,
             QObject* parent = nullptr);
    ~MqttLink() override;

    // Reads the section "MQTT": starts, restarts or ends the publisher.
    void apply();
    void raceStarted();
    // The live state at each change; its new laps are the passes.
    void publishSnapshot(const LiveSnapshot& snapshot);
    // The race is at rest: its laps are the result.
    void raceAtRest(const LiveSnapshot& snapshot);

private:
    void showStatus();

    const TSettings& m_settings;
    const QString m_outboxFolder;
    const DriverNames& m_names;
    MonotonicClock& m_clock;
    std::function<void(const QString&)> m_showNotice;
    std::unique_ptr<MqttPublisher> m_publisher;
    std::optional<MqttConnection> m_connection;
    PassTracker m_tracker;
    QString m_raceId;
    QString m_notice;
};
