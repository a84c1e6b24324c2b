#include "hub/HubServer.h"

#include <QFile>
#include <QHostAddress>
#include <QHttpServer>
#include <QHttpServerRequest>
#include <QHttpServerResponse>

namespace {

QHttpServerResponse asset(const char* mimeType, const char* name) {
    QFile file(QStringLiteral(":/hub/") + QLatin1String(name));
    QHttpServerResponse response(QByteArray(mimeType),
                                 file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray());
    response.setHeader("Cache-Control", "no-cache");
    return response;
}

} // namespace

HubServer::HubServer(QObject* parent) : QObject(parent), m_http(std::make_unique<QHttpServer>()) {
    Q_INIT_RESOURCE(hub);
    using Method = QHttpServerRequest::Method;
    m_http->route(QStringLiteral("/"), Method::Get,
                  [] { return asset("text/html; charset=utf-8", "hub.html"); });
    m_http->route(QStringLiteral("/hub.js"), Method::Get,
                  [] { return asset("text/javascript; charset=utf-8", "hub.js"); });
    m_http->route(QStringLiteral("/hub.css"), Method::Get,
                  [] { return asset("text/css; charset=utf-8", "hub.css"); });
    m_http->route(QStringLiteral("/api/hub"), Method::Get, [this] {
        QHttpServerResponse response(QByteArray("application/json"), m_json);
        response.setHeader("Cache-Control", "no-store");
        return response;
    });
    m_http->afterRequest([](QHttpServerResponse&& response) {
        response.setHeader("X-Content-Type-Options", "nosniff");
        return std::move(response);
    });
}

HubServer::~HubServer() = default;

quint16 HubServer::listen(quint16 port) {
    const int taken = m_http->listen(QHostAddress::Any, port);
    return taken > 0 ? quint16(taken) : 0;
}
