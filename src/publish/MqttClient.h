#pragma once

#include "publish/MqttConnection.h"

#include <QString>

struct mosquitto;

// One libmosquitto client handle with the connection's login and TLS set, made and freed with the
// library initialised. Used on one thread only.
class MqttClient {
public:
    // Why a connection failed, in Czech; tlsFault: the TLS setting (or the port) is the likely cause,
    // which the operator is told rather than that the connection was lost.
    struct Failure {
        QString text;
        bool tlsFault = false;
    };

    // The callbacks set on the handle get this client as their user data; ownerOf(it) is owner.
    MqttClient(const MqttConnection& connection, const QString& clientId, void* owner);
    ~MqttClient();
    MqttClient(const MqttClient&) = delete;
    MqttClient& operator=(const MqttClient&) = delete;

    mosquitto* handle() const { return m_handle; }
    // Empty when the handle was set up; otherwise why not, in Czech.
    QString setupError() const { return m_setupError; }

    static void* ownerOf(void* userData) { return static_cast<MqttClient*>(userData)->m_owner; }

    // Why the connection failed with the library's code rc; answered: the broker had answered the
    // CONNECT. A TLS handshake that the server broke off, or a server that closed a plain connection
    // without a word, is a TLS setting that does not match the port's.
    Failure failure(int rc, bool answered) const;

    // The Czech text of a CONNACK's refusal code and of a library error.
    static QString refusalText(int code);
    static QString errorText(int code);

private:
    static void onLog(mosquitto*, void* self, int level, const char* text);

    mosquitto* m_handle = nullptr;
    void* m_owner;
    bool m_tls;
    bool m_certificateRefused = false; // the handshake failed on the server's certificate
    QString m_setupError;
};
