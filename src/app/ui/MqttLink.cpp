#include "app/ui/MqttLink.h"

#include "base/MonotonicClock.h"
#include "config/TSettings.h"
#include "display/LiveSnapshot.h"
#include "publish/MqttMessages.h"
#include "publish/MqttPublisher.h"
#include "timing/DriverNames.h"

#include <QDateTime>
#include <QSysInfo>

#include <tuple>

namespace {

MqttConnection connectionOf(const TSettings& settings) {
    MqttConnection connection;
    connection.host = settings.MQTT.Server;
    connection.port = settings.MQTT.Port;
    connection.prefix = settings.MQTT.Predpona;
    connection.track = MqttMessages::trackId(settings.MQTT.Trat.isEmpty() ? QSysInfo::machineHostName()
                                                                          : settings.MQTT.Trat);
    connection.user = settings.MQTT.Uzivatel;
    connection.password = settings.MQTT.Heslo;
    connection.tls = settings.MQTT.TLS;
    return connection;
}

bool sameConnection(const MqttConnection& a, const MqttConnection& b) {
    return std::tie(a.host, a.port, a.prefix, a.track, a.user, a.password, a.tls) ==
           std::tie(b.host, b.port, b.prefix, b.track, b.user, b.password, b.tls);
}

} // namespace

MqttLink::MqttLink(const TSettings& settings, const QString& dataFolder, const DriverNames& names,
                   MonotonicClock& clock, std::function<QDateTime()> raceStart,
                   std::function<void(const QString&)> showNotice, QObject* parent)
    : QObject(parent), m_settings(settings), m_outboxFolder(dataFolder + QStringLiteral("/mqtt")),
      m_names(names), m_clock(clock), m_raceStart(std::move(raceStart)), m_showNotice(std::move(showNotice)) {
}

MqttLink::~MqttLink() = default;

void MqttLink::apply() {
    if (!m_settings.MQTT.Pouzit) {
        m_publisher.reset();
        m_connection.reset();
        showStatus();
        return;
    }
    const MqttConnection connection = connectionOf(m_settings);
    if (m_publisher && m_connection && sameConnection(*m_connection, connection))
        return;
    m_publisher.reset();
    m_connection = connection;
    m_publisher = std::make_unique<MqttPublisher>(m_outboxFolder, connection);
    connect(m_publisher.get(), &MqttPublisher::statusChanged, this, &MqttLink::showStatus);
    showStatus();
}

QString MqttLink::currentRaceId() const {
    const QDateTime start = m_raceStart ? m_raceStart() : QDateTime();
    return MqttMessages::raceId(start.isValid() ? start : QDateTime::currentDateTime());
}

void MqttLink::raceStarted() {
    m_raceId = currentRaceId();
    m_tracker.reset();
}

void MqttLink::publishSnapshot(const LiveSnapshot& snapshot) {
    const QList<PassTracker::Pass> passes = m_tracker.update(snapshot.laps);
    if (!m_publisher)
        return;
    const QDateTime now = QDateTime::currentDateTime();
    // Laps only grow during a race (the last one may come with the race's own stop). A race taken
    // back from its journal at start has no start of this run: it is named by the start it had, so
    // that its passes sent again before the crash keep their ids.
    if (!passes.isEmpty() && m_raceId.isEmpty())
        m_raceId = currentRaceId();
    for (const PassTracker::Pass& pass : passes)
        m_publisher->publishPass(
            {m_raceId, pass.kart, pass.lap, pass.lapMs, pass.raceMs, now, m_names.name(pass.kart)});
    m_publisher->publishState(snapshot.toJson(m_clock.nowUs()));
}

void MqttLink::raceKept(const LiveSnapshot& snapshot) {
    // A recovered race was never started in this run.
    m_raceId = currentRaceId();
    if (!m_publisher)
        return;
    MqttResult result{m_raceId, QDateTime::currentDateTime(), snapshot.laps, {}};
    for (int kart = 1; kart <= 4; ++kart)
        result.names.at(kart - 1) = m_names.name(kart);
    m_publisher->publishResult(result);
}

void MqttLink::showStatus() {
    const QString notice = m_publisher ? MqttPublisher::notice(m_publisher->status()) : QString();
    if (notice == m_notice)
        return;
    m_notice = notice;
    m_showNotice(notice);
}
