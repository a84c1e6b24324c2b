#include "publish/MqttClient.h"

#include <mosquitto.h>

#include <cstring>
#include <mutex>

namespace {

// The library's global state is set up once for the program and left for its end.
void initialiseLibrary() {
    static std::once_flag once;
    std::call_once(once, [] { mosquitto_lib_init(); });
}

} // namespace

MqttClient::MqttClient(const MqttConnection& connection, const QString& clientId, void* owner)
    : m_owner(owner), m_tls(connection.tls) {
    initialiseLibrary();
    m_handle = mosquitto_new(clientId.toUtf8().constData(), true, this);
    if (!m_handle) {
        m_setupError = QStringLiteral("Nelze vytvořit klienta MQTT.");
        return;
    }
    mosquitto_log_callback_set(m_handle, &MqttClient::onLog);
    mosquitto_int_option(m_handle, MOSQ_OPT_PROTOCOL_VERSION, MQTT_PROTOCOL_V311);
    if (!connection.user.isEmpty()) {
        const int rc = mosquitto_username_pw_set(m_handle, connection.user.toUtf8().constData(),
                                                 connection.password.toUtf8().constData());
        if (rc != MOSQ_ERR_SUCCESS)
            m_setupError = errorText(rc);
    }
    if (connection.tls) {
        const int rc = mosquitto_tls_set(m_handle, nullptr, "/etc/ssl/certs", nullptr, nullptr, nullptr);
        if (rc != MOSQ_ERR_SUCCESS)
            m_setupError = errorText(rc);
    }
}

MqttClient::~MqttClient() {
    if (m_handle)
        mosquitto_destroy(m_handle);
}

void MqttClient::onLog(mosquitto*, void* self, int level, const char* text) {
    // The library says why a handshake failed only in its log, in OpenSSL's words.
    if ((level & MOSQ_LOG_ERR) && text && std::strstr(text, "certificate verify failed"))
        static_cast<MqttClient*>(self)->m_certificateRefused = true;
}

MqttClient::Failure MqttClient::failure(int rc, bool answered) const {
    const QString check = QStringLiteral(" – zkontrolujte nastavení TLS a port");
    if (m_tls && rc == MOSQ_ERR_TLS && m_certificateRefused)
        return {QStringLiteral("certifikát serveru není důvěryhodný (TLS)"), true};
    if (m_tls && rc == MOSQ_ERR_TLS)
        return {QStringLiteral("server neodpovídá přes TLS") + check, true};
    // A refused connection is an error of its own; a lost one was made first, then closed unanswered:
    // a TLS listener does so with the plain CONNECT.
    if (!m_tls && !answered && rc == MOSQ_ERR_CONN_LOST)
        return {QStringLiteral("server ukončil spojení bez odpovědi, zřejmě vyžaduje TLS") + check, true};
    return {errorText(rc), false};
}

QString MqttClient::refusalText(int code) {
    switch (code) {
    case 1:
        return QStringLiteral("server nepodporuje verzi protokolu");
    case 2:
        return QStringLiteral("server odmítl identifikátor klienta");
    case 3:
        return QStringLiteral("služba serveru není dostupná");
    case 4:
        return QStringLiteral("server odmítl jméno nebo heslo");
    case 5:
        return QStringLiteral("server odmítl přihlášení");
    default:
        return QStringLiteral("server odmítl spojení (kód %1)").arg(code);
    }
}

QString MqttClient::errorText(int code) {
    switch (code) {
    case MOSQ_ERR_ERRNO:
    case MOSQ_ERR_NO_CONN:
    case MOSQ_ERR_CONN_LOST:
        return QStringLiteral("server není dostupný");
    case MOSQ_ERR_EAI:
        return QStringLiteral("adresa serveru nebyla nalezena");
    case MOSQ_ERR_TLS:
        return QStringLiteral("chyba šifrovaného spojení (TLS)");
    case MOSQ_ERR_PROTOCOL:
        return QStringLiteral("server neodpovídá protokolem MQTT");
    default:
        return QStringLiteral("chyba spojení: %1").arg(QString::fromUtf8(mosquitto_strerror(code)));
    }
}
