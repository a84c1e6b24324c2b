#include "hub/HubSubscriber.h"

#include <QMetaObject>

#include <mosquitto.h>

#include <unistd.h>

HubSubscriber::HubSubscriber(const MqttConnection& connection, int maxPayloadBytes, QObject* parent)
    : QObject(parent), m_connection(connection), m_maxPayloadBytes(maxPayloadBytes) {}

HubSubscriber::~HubSubscriber() {
    if (!m_handle)
        return;
    mosquitto_disconnect(m_handle);
    mosquitto_loop_stop(m_handle, true);
    mosquitto_destroy(m_handle);
}

bool HubSubscriber::start(QString* why) {
    mosquitto_lib_init();
    const QByteArray id = QStringLiteral("tarvolin-hub-%1").arg(::getpid()).toUtf8();
    m_handle = mosquitto_new(id.constData(), true, this);
    if (!m_handle) {
        *why = QStringLiteral("Nelze vytvořit klienta MQTT.");
        return false;
    }
    if (!m_connection.user.isEmpty())
        mosquitto_username_pw_set(m_handle, m_connection.user.toUtf8().constData(),
                                  m_connection.password.toUtf8().constData());
    if (m_connection.tls)
        mosquitto_tls_set(m_handle, nullptr, "/etc/ssl/certs", nullptr, nullptr, nullptr);
    mosquitto_connect_callback_set(m_handle, &HubSubscriber::onConnect);
    mosquitto_message_callback_set(m_handle, &HubSubscriber::onMessage);
    mosquitto_reconnect_delay_set(m_handle, 1, 10, true);
    int rc = mosquitto_connect_async(m_handle, m_connection.host.toUtf8().constData(), m_connection.port, 30);
    if (rc == MOSQ_ERR_SUCCESS)
        rc = mosquitto_loop_start(m_handle);
    // A broker that is down at the start is tried again by the loop; only a name that does not
    // resolve or a broken setup ends here.
    if (rc != MOSQ_ERR_SUCCESS && rc != MOSQ_ERR_ERRNO) {
        *why = QString::fromUtf8(mosquitto_strerror(rc));
        return false;
    }
    if (rc == MOSQ_ERR_ERRNO)
        mosquitto_loop_start(m_handle);
    return true;
}

void HubSubscriber::onConnect(mosquitto* handle, void* self, int code) {
    if (code != 0)
        return;
    const QString prefix = static_cast<HubSubscriber*>(self)->m_connection.prefix;
    for (const char* leaf : {"state", "result", "online"}) {
        const QByteArray filter = (prefix + QStringLiteral("/+/") + QLatin1String(leaf)).toUtf8();
        mosquitto_subscribe(handle, nullptr, filter.constData(), 1);
    }
}

void HubSubscriber::onMessage(mosquitto*, void* self, const mosquitto_message* message) {
    auto* subscriber = static_cast<HubSubscriber*>(self);
    if (message->payloadlen > subscriber->m_maxPayloadBytes || subscriber->m_backlog >= MaxBacklog)
        return;
    ++subscriber->m_backlog;
    const QString topic = QString::fromUtf8(message->topic);
    const QByteArray payload(static_cast<const char*>(message->payload), message->payloadlen);
    QMetaObject::invokeMethod(
        subscriber,
        [subscriber, topic, payload] {
            --subscriber->m_backlog;
            emit subscriber->received(topic, payload);
        },
        Qt::QueuedConnection);
}
