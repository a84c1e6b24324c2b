#include "display/LiveResultsServer.h"

#include "base/MessageTimerFactory.h"
#include "base/MonotonicClock.h"

#include <QFile>
#include <QHttpServer>
#include <QHttpServerRequest>
#include <QHttpServerResponder>
#include <QHttpServerResponse>
#include <QWebSocket>

#include <algorithm>

namespace {

QByteArray resource(const QString& name) {
    QFile file(QStringLiteral(":/web/") + name);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QHttpServerResponse asset(const char* mimeType, const QString& name) {
    QHttpServerResponse response(QByteArray(mimeType), resource(name));
    response.setHeader("Cache-Control", "no-cache");
    return response;
}

} // namespace

LiveResultsServer::LiveResultsServer(MonotonicClock& clock, Limits limits, QObject* parent)
    : LiveResultsServer(clock, MessageTimerFactory::instance(), limits, parent) {}

LiveResultsServer::LiveResultsServer(MonotonicClock& clock, TimerFactory& timers, Limits limits,
                                     QObject* parent)
    : QObject(parent), m_clock(clock), m_timers(timers), m_limits(limits), m_ping(new QTimer(this)),
      m_window(new QTimer(this)), m_heartbeat(new QTimer(this)) {
    Q_INIT_RESOURCE(web);
    m_ping->setInterval(m_limits.pingMs);
    connect(m_ping, &QTimer::timeout, this, &LiveResultsServer::pingAll);
    m_heartbeat->setInterval(std::max(500, m_limits.heartbeatMs));
    connect(m_heartbeat, &QTimer::timeout, this, &LiveResultsServer::heartbeat);
    m_window->setInterval(std::max(100, m_limits.connections.windowMs));
    connect(m_window, &QTimer::timeout, this, [this] {
        for (Client& client : m_clients)
            client.incomingBytes = 0;
    });
}

LiveResultsServer::~LiveResultsServer() {
    stop();
}

void LiveResultsServer::start(quint16 port) {
    stop();
    m_http = std::make_unique<QHttpServer>();
    using Method = QHttpServerRequest::Method;
    m_http->route(QStringLiteral("/"), Method::Get,
                  [] { return asset("text/html; charset=utf-8", QStringLiteral("index.html")); });
    m_http->route(QStringLiteral("/live.js"), Method::Get,
                  [] { return asset("text/javascript; charset=utf-8", QStringLiteral("live.js")); });
    m_http->route(QStringLiteral("/live.css"), Method::Get,
                  [] { return asset("text/css; charset=utf-8", QStringLiteral("live.css")); });
    for (const char* script : {"common.js", "kart.js", "history.js"}) {
        const QString name = QString::fromLatin1(script);
        m_http->route(QStringLiteral("/") + name, Method::Get,
                      [name] { return asset("text/javascript; charset=utf-8", name); });
    }
    // A kart's own view: only the four karts there are.
    m_http->route(QStringLiteral("/kara/"), Method::Get, [](const QString& kart) {
        static const QStringList karts{QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("3"),
                                       QStringLiteral("4")};
        if (!karts.contains(kart))
            return QHttpServerResponse(QByteArray("text/plain; charset=utf-8"),
                                       QStringLiteral("Taková kára tu není.").toUtf8(),
                                       QHttpServerResponse::StatusCode::NotFound);
        return asset("text/html; charset=utf-8", QStringLiteral("kart.html"));
    });
    m_history.addTo(*m_http);
    m_http->route(QStringLiteral("/api/race"), Method::Get, [this] {
        QHttpServerResponse response(QByteArray("application/json"), m_snapshot.toJson(m_clock.nowUs()));
        response.setHeader("Cache-Control", "no-store");
        return response;
    });
    // The page's WebSocket. The HTTP server upgrades only a request that a route takes, and sends what
    // the route answers before its own "101": the route must stay silent for the upgrade.
    m_http->route(QStringLiteral("/live"), Method::Get,
                  [](const QHttpServerRequest& request, QHttpServerResponder&& responder) {
                      if (request.value("Upgrade").compare("websocket", Qt::CaseInsensitive) != 0)
                          responder.write(QHttpServerResponder::StatusCode::UpgradeRequired);
                  });
    m_http->afterRequest([](QHttpServerResponse&& response) {
        response.setHeader("X-Content-Type-Options", "nosniff");
        return std::move(response);
    });
    connect(m_http.get(), &QHttpServer::newWebSocketConnection, this, &LiveResultsServer::addWebSockets);

    auto* guard = new ConnectionGuard(m_limits.connections, m_clock, m_timers);
    if (!guard->listen(QHostAddress::Any, port)) {
        const QString reason = guard->errorString();
        const bool taken = guard->serverError() == QAbstractSocket::AddressInUseError;
        delete guard;
        m_http.reset();
        emit failed(taken ? QStringLiteral("Port %1 už používá jiný program. Stanice poběží bez webové "
                                           "stránky s průběhem závodu; zvolte v nastavení jiný port.")
                                .arg(port)
                          : QStringLiteral("Webovou stránku s průběhem závodu nelze zveřejnit na portu %1: "
                                           "%2\nStanice poběží bez ní.")
                                .arg(port)
                                .arg(reason));
        return;
    }
    m_http->bind(guard);
    m_guard = guard;
    m_port = guard->serverPort();
    m_ping->start();
    m_window->start();
    m_heartbeat->start();
    emit listening(m_port);
}

void LiveResultsServer::stop() {
    m_ping->stop();
    m_window->stop();
    m_heartbeat->stop();
    m_clients.clear();
    m_http.reset();
    m_guard = nullptr;
    m_port = 0;
}

void LiveResultsServer::addWebSockets() {
    while (m_http && m_http->hasPendingWebSocketConnections()) {
        std::unique_ptr<QWebSocket> socket = m_http->nextPendingWebSocketConnection();
        if (!socket)
            continue;
        if (m_guard)
            m_guard->release(socket->peerAddress(), socket->peerPort());
        socket->setMaxAllowedIncomingFrameSize(quint64(m_limits.maxIncomingBytes));
        socket->setMaxAllowedIncomingMessageSize(quint64(m_limits.maxIncomingBytes));
        QWebSocket* raw = socket.get();
        const auto counted = [this, raw](qint64 bytes) {
            auto it = std::find_if(m_clients.begin(), m_clients.end(),
                                   [raw](const Client& c) { return c.socket.get() == raw; });
            if (it == m_clients.end())
                return;
            it->incomingBytes += bytes + 8;
            if (it->incomingBytes > m_limits.maxIncomingBytes)
                raw->abort();
        };
        connect(raw, &QWebSocket::textMessageReceived, this,
                [counted](const QString& text) { counted(text.size()); });
        connect(raw, &QWebSocket::binaryMessageReceived, this,
                [counted](const QByteArray& bytes) { counted(bytes.size()); });
        connect(raw, &QWebSocket::pong, this,
                [counted](quint64, const QByteArray& payload) { counted(payload.size()); });
        connect(raw, &QWebSocket::disconnected, this, &LiveResultsServer::dropClosed, Qt::QueuedConnection);
        m_clients.push_back({std::move(socket), 0});
        send(m_clients.back(), QString::fromUtf8(m_snapshot.toJson(m_clock.nowUs())));
    }
}

void LiveResultsServer::send(Client& client, const QString& message) {
    QWebSocket& socket = *client.socket;
    if (socket.state() != QAbstractSocket::ConnectedState)
        return;
    // A page that does not read what it was sent gets nothing more: the station keeps no pile for it.
    if (socket.bytesToWrite() > m_limits.maxBacklogBytes) {
        socket.abort();
        return;
    }
    socket.sendTextMessage(message);
}

void LiveResultsServer::dropClosed() {
    m_clients.erase(std::remove_if(m_clients.begin(), m_clients.end(),
                                   [](const Client& c) {
                                       return c.socket->state() == QAbstractSocket::UnconnectedState;
                                   }),
                    m_clients.end());
}

void LiveResultsServer::publish(const LiveSnapshot& snapshot) {
    m_snapshot = snapshot;
    if (m_clients.empty())
        return;
    const QString message = QString::fromUtf8(m_snapshot.toJson(m_clock.nowUs()));
    for (Client& client : m_clients)
        send(client, message);
    dropClosed();
}

void LiveResultsServer::setHistory(const QString& folder, KeptRacePdfMaker pdf) {
    m_history.setFolder(folder, std::move(pdf));
}

// A page that hears nothing for a few seconds knows its connection is gone, even when the network
// dropped it without a word: the station says it is alive every few seconds.
void LiveResultsServer::heartbeat() {
    for (Client& client : m_clients)
        send(client, QStringLiteral("{\"heartbeat\":true}"));
    dropClosed();
}

void LiveResultsServer::pingAll() {
    for (Client& client : m_clients) {
        if (client.socket->state() == QAbstractSocket::ConnectedState)
            client.socket->ping();
    }
}
