#include "MqttTestSubscriber.h"

#include <QDeadlineTimer>
#include <QThread>
#include <QUuid>

#include <mosquitto.h>

MqttTestSubscriber::MqttTestSubscriber(quint16 port, const QString& filter) : m_filter(filter.toUtf8()) {
    mosquitto_lib_init();
    const QByteArray id = "sub-" + QUuid::createUuid().toByteArray(QUuid::Id128).left(16);
    m_handle = mosquitto_new(id.constData(), false, this);
    mosquitto_connect_callback_set(m_handle, &MqttTestSubscriber::onConnect);
    mosquitto_subscribe_callback_set(m_handle, &MqttTestSubscriber::onSubscribe);
    mosquitto_message_callback_set(m_handle, &MqttTestSubscriber::onMessage);
    mosquitto_reconnect_delay_set(m_handle, 1, 1, false);
    mosquitto_connect_async(m_handle, "127.0.0.1", port, 10);
    mosquitto_loop_start(m_handle);
}

MqttTestSubscriber::~MqttTestSubscriber() {
    mosquitto_disconnect(m_handle);
    mosquitto_loop_stop(m_handle, true);
    mosquitto_destroy(m_handle);
}

bool MqttTestSubscriber::waitSubscribed(int timeoutMs) {
    const QDeadlineTimer deadline(timeoutMs);
    while (!deadline.hasExpired()) {
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            if (m_subscribed)
                return true;
        }
        QThread::msleep(10);
    }
    return false;
}

QList<MqttTestSubscriber::Message> MqttTestSubscriber::messages() const {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_messages;
}

bool MqttTestSubscriber::waitFor(const std::function<bool(const QList<Message>&)>& condition,
                                 int timeoutMs) const {
    const QDeadlineTimer deadline(timeoutMs);
    while (!deadline.hasExpired()) {
        if (condition(messages()))
            return true;
        QThread::msleep(10);
    }
    return condition(messages());
}

void MqttTestSubscriber::onConnect(mosquitto* handle, void* self, int code) {
    if (code == 0)
        mosquitto_subscribe(handle, nullptr, static_cast<MqttTestSubscriber*>(self)->m_filter.constData(), 1);
}

void MqttTestSubscriber::onSubscribe(mosquitto*, void* self, int, int, const int*) {
    auto* subscriber = static_cast<MqttTestSubscriber*>(self);
    std::lock_guard<std::mutex> lock(subscriber->m_mutex);
    subscriber->m_subscribed = true;
}

void MqttTestSubscriber::onMessage(mosquitto*, void* self, const mosquitto_message* message) {
    auto* subscriber = static_cast<MqttTestSubscriber*>(self);
    std::lock_guard<std::mutex> lock(subscriber->m_mutex);
    subscriber->m_messages.append(
        {QString::fromUtf8(message->topic),
         QByteArray(static_cast<const char*>(message->payload), message->payloadlen), message->retain});
}
