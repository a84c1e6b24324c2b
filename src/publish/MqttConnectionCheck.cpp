#include "publish/MqttConnectionCheck.h"

#include "publish/MqttClient.h"

#include <QDeadlineTimer>

#include <mosquitto.h>

#include <unistd.h>

namespace MqttConnectionCheck {

QString run(const MqttConnection& connection, int timeoutMs) {
    const QString failed = QStringLiteral("Spojení se nezdařilo: ");
    int answer = -1; // the CONNACK's code once it came
    MqttClient client(connection, QStringLiteral("tarvolin-zkouska-%1").arg(::getpid()), &answer);
    if (!client.setupError().isEmpty())
        return failed + client.setupError();
    mosquitto* handle = client.handle();
    mosquitto_connect_callback_set(handle, [](mosquitto*, void* client, int rc) {
        *static_cast<int*>(MqttClient::ownerOf(client)) = rc;
    });
    int rc = mosquitto_connect_async(handle, connection.host.toUtf8().constData(), connection.port, 10);
    const QDeadlineTimer deadline(timeoutMs);
    while (rc == MOSQ_ERR_SUCCESS && answer < 0 && !deadline.hasExpired())
        rc = mosquitto_loop(handle, 50, 1);
    if (answer > 0)
        return failed + MqttClient::refusalText(answer);
    if (rc != MOSQ_ERR_SUCCESS)
        return failed + client.failure(rc, answer >= 0).text;
    if (answer < 0)
        return failed + QStringLiteral("server neodpovídá");
    mosquitto_disconnect(handle);
    mosquitto_loop(handle, 50, 1);
    return QStringLiteral("Spojení se serverem %1:%2 je v pořádku.")
        .arg(connection.host)
        .arg(connection.port);
}

} // namespace MqttConnectionCheck
