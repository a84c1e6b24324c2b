#pragma once

#include "publish/MqttClient.h"
#include "publish/MqttConnection.h"
#include "publish/MqttMessages.h"
#include "publish/MqttOutbox.h"

#include <QByteArray>
#include <QObject>
#include <QString>

#include <chrono>
#include <condition_variable>
#include <deque>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>
#include <utility>

// Sends the station's passes, results, live state and presence to an MQTT broker from a thread of its
// own: the calls below only queue and return at once, so neither the main thread nor a sampler ever
// waits for the network. Passes and results go through the outbox on disk first and leave it only when
// the broker acknowledged them (QoS 1); a lost connection is tried again and the outbox is sent again
// from its oldest message, so a subscriber sees every message in order, a repeat only with its id.
class MqttPublisher : public QObject {
    Q_OBJECT
public:
    struct Status {
        bool connected = false;
        int waiting = 0;       // messages in the outbox
        bool full = false;     // a message was refused since the outbox was last below its bound
        QString error;         // why the last connection failed, in Czech; empty while connected
        bool tlsFault = false; // the error names the TLS setting, which the notice then says
        bool operator==(const Status& other) const {
            return connected == other.connected && waiting == other.waiting && full == other.full &&
                   error == other.error && tlsFault == other.tlsFault;
        }
    };

    MqttPublisher(const QString& outboxFolder, const MqttConnection& connection,
                  int outboxCapacity = MqttOutbox::DefaultCapacity, QObject* parent = nullptr);
    // Says "offline" to the broker when connected and ends the thread; waiting messages stay on disk.
    ~MqttPublisher() override;

    void publishPass(const MqttPass& pass);
    void publishResult(const MqttResult& result);
    // The live state: only the newest one is sent, retained, when connected.
    void publishState(const QByteArray& json);

    Status status() const;
    // The status bar's notice: empty while the broker takes the messages.
    static QString notice(const Status& status);

signals:
    // From the publisher's thread; a receiver on another thread gets it queued.
    void statusChanged();

private:
    using Clock = std::chrono::steady_clock;

    void enqueue(const char* leaf, const QByteArray& payload);
    void run();
    void startConnection();
    void dropConnection(const MqttClient::Failure& failure);
    void sendWaiting();
    void setStatus(const Status& status);

    static void onConnect(struct mosquitto*, void* self, int code);
    static void onDisconnect(struct mosquitto*, void* self, int code);
    static void onPublish(struct mosquitto*, void* self, int mid);

    const QString m_outboxFolder;
    const MqttConnection m_connection;
    const int m_outboxCapacity;

    // Shared with the callers' threads.
    mutable std::mutex m_mutex;
    std::condition_variable m_wake;
    std::deque<std::pair<QString, QByteArray>> m_incoming;
    std::optional<QByteArray> m_state;
    bool m_stopping = false;
    Status m_status;

    // The publisher's thread alone.
    std::unique_ptr<MqttOutbox> m_outbox;
    std::unique_ptr<MqttClient> m_client;
    bool m_connected = false;
    MqttClient::Failure m_error;
    QString m_refusal;       // the broker's answer to this connection's CONNECT, when it refused
    bool m_answered = false; // the broker answered this connection's CONNECT
    bool m_full = false;
    Clock::time_point m_attemptStart;
    Clock::time_point m_nextAttempt;
    std::chrono::milliseconds m_backoff{500};
    quint64 m_lastSent = 0;            // the outbox's sequence sent last on this connection
    std::map<int, quint64> m_inFlight; // message id -> outbox sequence, until acknowledged

    std::thread m_thread;
};
