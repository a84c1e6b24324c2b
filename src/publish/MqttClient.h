#pragma once

#include "publish/MqttConnection.h"

#include <QString>

struct mosquitto;

// One libmosquitto client handle with the connection's login and TLS set, made and freed with the
// library initialised. Used on one thread only.
class MqttClient {
public:
    // userData is what the callbacks get.
    MqttClient(const MqttConnection& connection, const QString& clientId, void* userData);
    ~MqttClient();
    MqttClient(const MqttClient&) = delete;
    MqttClient& operator=(const MqttClient&) = delete;

    mosquitto* handle() const { return m_handle; }
    // Empty when the handle was set up; otherwise why not, in Czech.
    QString setupError() const { return m_setupError; }

    // The Czech text of a CONNACK's refusal code and of a library error.
    static QString refusalText(int code);
    static QString errorText(int code);

private:
    mosquitto* m_handle = nullptr;
    QString m_setupError;
};
