#include "publish/MqttPublisher.h"

#include "publish/MqttClient.h"

#include <QCoreApplication>

#include <mosquitto.h>

#include <pthread.h>
#include <unistd.h>

namespace {

// Unacknowledged messages on the wire at once: enough to keep a loopback or LAN link busy, few
// enough that the library queues none of its own.
constexpr std::size_t inFlightWindow = 20;
// A broker that takes the connection but does not answer its CONNECT in this time is given up on.
constexpr std::chrono::seconds connectTimeout{10};
constexpr std::chrono::milliseconds longestBackoff{10000};
// How long the thread waits on the socket, while messages are on their way, before it looks at new
// ones; a pass waits no longer.
constexpr int loopMs = 5;
// With nothing on its way the thread sleeps until a message comes, looking at the socket this often
// (the broker's pings and a lost connection). A station at rest then costs a wake a second, not 200.
constexpr std::chrono::milliseconds idleLook{1000};
constexpr int keepAliveSeconds = 20;

MqttPublisher* publisherOf(void* client) {
    return static_cast<MqttPublisher*>(MqttClient::ownerOf(client));
}

} // namespace

MqttPublisher::MqttPublisher(const QString& outboxFolder, const MqttConnection& connection,
                             int outboxCapacity, QObject* parent)
    : QObject(parent), m_outboxFolder(outboxFolder), m_connection(connection),
      m_outboxCapacity(outboxCapacity) {
    m_thread = std::thread([this] { run(); });
}

MqttPublisher::~MqttPublisher() {
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_stopping = true;
    }
    m_wake.notify_all();
    m_thread.join();
}

void MqttPublisher::publishPass(const MqttPass& pass) {
    enqueue("pass", MqttMessages::passJson(pass));
}

void MqttPublisher::publishResult(const MqttResult& result) {
    enqueue("result", MqttMessages::resultJson(result));
}

void MqttPublisher::publishState(const QByteArray& json) {
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_state = json;
    }
    m_wake.notify_all();
}

void MqttPublisher::enqueue(const char* leaf, const QByteArray& payload) {
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_incoming.emplace_back(QString::fromLatin1(leaf), payload);
    }
    m_wake.notify_all();
}

MqttPublisher::Status MqttPublisher::status() const {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_status;
}

QString MqttPublisher::notice(const Status& status) {
    if (status.full)
        return QStringLiteral("MQTT: fronta zpráv je plná (%1), další výsledky se neuloží")
            .arg(status.waiting);
    if (!status.connected && status.tlsFault)
        return QStringLiteral("MQTT: %1; %2 zpráv čeká").arg(status.error).arg(status.waiting);
    if (!status.connected && !status.error.isEmpty())
        return QStringLiteral("MQTT: spojení ztraceno, %1 zpráv čeká").arg(status.waiting);
    return {};
}

void MqttPublisher::setStatus(const Status& status) {
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        if (m_status == status)
            return;
        m_status = status;
    }
    emit statusChanged();
}

void MqttPublisher::run() {
    // Named, so that a per-thread account of the station's processor time says whose time it is.
    pthread_setname_np(pthread_self(), "MqttPublisher");
    m_outbox = std::make_unique<MqttOutbox>(m_outboxFolder, m_outboxCapacity);
    m_nextAttempt = Clock::now();
    for (;;) {
        std::deque<std::pair<QString, QByteArray>> incoming;
        std::optional<QByteArray> state;
        bool stopping = false;
        // Connected with everything acknowledged: only a new message needs the thread now.
        const bool idle = m_client && m_connected && m_inFlight.empty() && m_outbox->size() == 0;
        {
            std::unique_lock<std::mutex> lock(m_mutex);
            if (!m_client && m_incoming.empty() && !m_stopping)
                m_wake.wait_until(lock, m_nextAttempt, [this] { return m_stopping || !m_incoming.empty(); });
            else if (idle && m_incoming.empty() && !m_state && !m_stopping)
                m_wake.wait_for(lock, idleLook,
                                [this] { return m_stopping || !m_incoming.empty() || m_state; });
            incoming.swap(m_incoming);
            stopping = m_stopping;
            if (m_connected)
                state.swap(m_state);
        }
        for (const auto& [leaf, payload] : incoming) {
            // The topic is written with the message, so that a change of the track id leaves what
            // was made before under the name it was made under.
            if (!m_outbox->append(m_connection.topic(leaf.toLatin1().constData()), payload))
                m_full = true;
        }
        if (m_full && !m_outbox->full())
            m_full = false;
        if (stopping)
            break;
        if (!m_client && Clock::now() >= m_nextAttempt)
            startConnection();
        if (m_client) {
            if (m_connected) {
                sendWaiting();
                if (state) {
                    const QByteArray topic = m_connection.topic("state").toUtf8();
                    mosquitto_publish(m_client->handle(), nullptr, topic.constData(), int(state->size()),
                                      state->constData(), 0, true);
                }
            }
            const int rc = mosquitto_loop(m_client->handle(), loopMs, 1);
            if (rc != MOSQ_ERR_SUCCESS)
                dropConnection(m_refusal.isEmpty() ? m_client->failure(rc, m_answered)
                                                   : MqttClient::Failure{m_refusal, false});
            else if (!m_connected && Clock::now() - m_attemptStart > connectTimeout)
                dropConnection({QStringLiteral("server neodpovídá"), false});
        }
        setStatus({m_connected, m_outbox->size(), m_full, m_connected ? QString() : m_error.text,
                   !m_connected && m_error.tlsFault});
    }
    if (m_client && m_connected) {
        // A clean disconnect does not send the will, so the station says it is leaving itself.
        const QByteArray topic = m_connection.topic("online").toUtf8();
        mosquitto_publish(m_client->handle(), nullptr, topic.constData(), 1, "0", 0, true);
        mosquitto_disconnect(m_client->handle());
        for (int i = 0; i < 20 && mosquitto_loop(m_client->handle(), loopMs, 1) == MOSQ_ERR_SUCCESS; ++i) {
        }
    }
    m_client.reset();
    m_outbox.reset();
}

void MqttPublisher::startConnection() {
    // A fresh handle for every connection: what the library kept of the last one's unacknowledged
    // messages would be sent again beside the outbox's own, out of order.
    const QString clientId = QStringLiteral("tarvolin-%1-%2").arg(m_connection.track).arg(::getpid());
    m_client = std::make_unique<MqttClient>(m_connection, clientId, this);
    m_attemptStart = Clock::now();
    m_refusal.clear();
    m_answered = false;
    if (!m_client->setupError().isEmpty()) {
        dropConnection({m_client->setupError(), false});
        return;
    }
    mosquitto* handle = m_client->handle();
    mosquitto_connect_callback_set(handle, &MqttPublisher::onConnect);
    mosquitto_disconnect_callback_set(handle, &MqttPublisher::onDisconnect);
    mosquitto_publish_callback_set(handle, &MqttPublisher::onPublish);
    const QByteArray willTopic = m_connection.topic("online").toUtf8();
    mosquitto_will_set(handle, willTopic.constData(), 1, "0", 1, true);
    const int rc = mosquitto_connect_async(handle, m_connection.host.toUtf8().constData(), m_connection.port,
                                           keepAliveSeconds);
    if (rc != MOSQ_ERR_SUCCESS)
        dropConnection(m_client->failure(rc, false));
}

void MqttPublisher::dropConnection(const MqttClient::Failure& failure) {
    m_client.reset();
    m_connected = false;
    m_inFlight.clear();
    m_lastSent = 0;
    if (!failure.text.isEmpty())
        m_error = failure;
    m_nextAttempt = Clock::now() + m_backoff;
    m_backoff = std::min(m_backoff * 2, longestBackoff);
}

void MqttPublisher::sendWaiting() {
    while (m_inFlight.size() < inFlightWindow) {
        const std::optional<MqttOutbox::Message> message = m_outbox->next(m_lastSent);
        if (!message)
            return;
        const QByteArray topic = message->topic.toUtf8();
        // The race's result stays on the broker for whoever subscribes later; passes are a stream.
        const bool retain = topic.endsWith("/result");
        int mid = 0;
        const int rc =
            mosquitto_publish(m_client->handle(), &mid, topic.constData(), int(message->payload.size()),
                              message->payload.constData(), 1, retain);
        if (rc != MOSQ_ERR_SUCCESS)
            return; // the loop sees the connection's fault and starts over
        m_inFlight.emplace(mid, message->sequence);
        m_lastSent = message->sequence;
    }
}

void MqttPublisher::onConnect(mosquitto* handle, void* self, int code) {
    MqttPublisher* publisher = publisherOf(self);
    publisher->m_answered = true;
    if (code != 0) {
        // The loop ends the connection when the broker closes it; the refusal is what it says.
        publisher->m_refusal = MqttClient::refusalText(code);
        mosquitto_disconnect(handle);
        return;
    }
    publisher->m_connected = true;
    publisher->m_error = {};
    publisher->m_backoff = std::chrono::milliseconds(500);
    const QByteArray topic = publisher->m_connection.topic("online").toUtf8();
    mosquitto_publish(handle, nullptr, topic.constData(), 1, "1", 1, true);
}

void MqttPublisher::onDisconnect(mosquitto*, void* self, int) {
    publisherOf(self)->m_connected = false;
}

void MqttPublisher::onPublish(mosquitto*, void* self, int mid) {
    MqttPublisher* publisher = publisherOf(self);
    const auto it = publisher->m_inFlight.find(mid);
    if (it == publisher->m_inFlight.end())
        return;
    publisher->m_outbox->remove(it->second);
    publisher->m_inFlight.erase(it);
}
