#include "display/LiveResults.h"

#include "display/LiveResultsServer.h"

#include <QMetaObject>

LiveResults::LiveResults(MonotonicClock& clock, LiveServerLimits limits, QObject* parent) : QObject(parent) {
    qRegisterMetaType<LiveSnapshot>();
    m_thread.setObjectName(QStringLiteral("LiveResults"));
    m_server = new LiveResultsServer(clock, limits);
    m_server->moveToThread(&m_thread);
    connect(&m_thread, &QThread::finished, m_server, &QObject::deleteLater);
    connect(m_server, &LiveResultsServer::listening, this, [this](quint16 port) {
        // A start overtaken by a stop is stopped already.
        if (m_requestedPort == 0)
            return;
        m_port = port;
        emit listening(port);
    });
    connect(m_server, &LiveResultsServer::failed, this, [this](const QString& message) {
        m_port = 0;
        m_requestedPort = 0;
        emit failed(message);
    });
    m_thread.start();
}

LiveResults::~LiveResults() {
    // The server's sockets belong to its thread: they are closed there before it ends.
    QMetaObject::invokeMethod(m_server, &LiveResultsServer::stop, Qt::BlockingQueuedConnection);
    m_thread.quit();
    m_thread.wait();
}

void LiveResults::apply(bool use, int port) {
    if (!use || port <= 0 || port > 65535) {
        if (m_requestedPort != 0)
            QMetaObject::invokeMethod(m_server, &LiveResultsServer::stop, Qt::QueuedConnection);
        m_requestedPort = 0;
        m_port = 0;
        return;
    }
    if (port == m_requestedPort)
        return;
    m_requestedPort = port;
    m_port = 0;
    QMetaObject::invokeMethod(
        m_server, [server = m_server, port] { server->start(quint16(port)); }, Qt::QueuedConnection);
}

void LiveResults::publish(const LiveSnapshot& snapshot) {
    QMetaObject::invokeMethod(
        m_server, [server = m_server, snapshot] { server->publish(snapshot); }, Qt::QueuedConnection);
}

void LiveResults::setHistory(const QString& folder, KeptRacePdfMaker pdf) {
    QMetaObject::invokeMethod(
        m_server, [server = m_server, folder, pdf = std::move(pdf)] { server->setHistory(folder, pdf); },
        Qt::QueuedConnection);
}
