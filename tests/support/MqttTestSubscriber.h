#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

#include <functional>
#include <mutex>

struct mosquitto;

// A subscriber of its own thread (libmosquitto's) that keeps every message it receives, reconnecting
// by itself; its session survives the broker's restart, so nothing queued for it is lost.
class MqttTestSubscriber {
public:
    struct Message {
        QString topic;
        QByteArray payload;
        bool retained = false;
    };

    MqttTestSubscriber(quint16 port, const QString& filter);
    ~MqttTestSubscriber();
    MqttTestSubscriber(const MqttTestSubscriber&) = delete;
    MqttTestSubscriber& operator=(const MqttTestSubscriber&) = delete;

    // Waits until it has subscribed; false after the timeout.
    bool waitSubscribed(int timeoutMs = 20000);
    QList<Message> messages() const;
    // Waits until the messages received fulfil the condition; false after the timeout.
    bool waitFor(const std::function<bool(const QList<Message>&)>& condition, int timeoutMs = 30000) const;

private:
    static void onConnect(mosquitto* handle, void* self, int code);
    static void onSubscribe(mosquitto*, void* self, int, int, const int*);
    static void onMessage(mosquitto*, void* self, const struct mosquitto_message* message);

    QByteArray m_filter;
    mosquitto* m_handle = nullptr;
    mutable std::mutex m_mutex;
    QList<Message> m_messages;
    bool m_subscribed = false;
};
