#pragma once

#include "publish/MqttConnection.h"

#include <QByteArray>
#include <QObject>
#include <QString>

#include <atomic>

struct mosquitto;
struct mosquitto_message;

// The hub's subscription to "<prefix>/+/state", "result" and "online" on libmosquitto's own thread,
// which connects again by itself after an outage. Each message is handed to the owner's thread by
// received(); one bigger than the hub keeps, or beyond a backlog the owner has not taken yet, is
// dropped on the network thread, so a flood cannot pile up in memory.
class HubSubscriber : public QObject {
    Q_OBJECT
public:
    static constexpr int MaxBacklog = 10000;

    explicit HubSubscriber(const MqttConnection& connection, int maxPayloadBytes, QObject* parent = nullptr);
    ~HubSubscriber() override;

    // Starts connecting; false with the reason when it cannot even begin.
    bool start(QString* why);

signals:
    void received(const QString& topic, const QByteArray& payload);

private:
    static void onConnect(mosquitto* handle, void* self, int code);
    static void onMessage(mosquitto*, void* self, const mosquitto_message* message);

    MqttConnection m_connection;
    int m_maxPayloadBytes;
    mosquitto* m_handle = nullptr;
    std::atomic<int> m_backlog{0};
};
