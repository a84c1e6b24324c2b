#include "display/ConnectionGuard.h"

#include "base/MonotonicClock.h"
#include "base/TimerFactory.h"

#include <QTcpSocket>

#include <algorithm>

ConnectionGuard::ConnectionGuard(Limits limits, MonotonicClock& clock, TimerFactory& timers, QObject* parent)
    : QTcpServer(parent), m_limits(limits), m_clock(clock),
      m_sweep(timers.createTimer(QStringLiteral("ConnectionSweep"), TimerKind::Message)) {
    m_sweep->setInterval(quint32(std::max(100, m_limits.windowMs)));
    m_sweep->setOnTimer([this] { sweep(); });
    m_sweep->setEnabled(true);
}

void ConnectionGuard::prune() {
    m_tracked.erase(std::remove_if(m_tracked.begin(), m_tracked.end(),
                                   [](const Tracked& t) {
                                       return t.socket.isNull() ||
                                              t.socket->state() == QAbstractSocket::UnconnectedState;
                                   }),
                    m_tracked.end());
}

int ConnectionGuard::connectionCount() {
    prune();
    return int(m_tracked.size());
}

void ConnectionGuard::release(const QHostAddress& address, quint16 port) {
    for (Tracked& t : m_tracked) {
        if (!t.socket.isNull() && t.port == port && t.address.isEqual(address))
            t.released = true;
    }
}

void ConnectionGuard::incomingConnection(qintptr descriptor) {
    auto* socket = new QTcpSocket(this);
    if (!socket->setSocketDescriptor(descriptor)) {
        delete socket;
        return;
    }
    prune();
    const QHostAddress address = socket->peerAddress();
    const auto fromAddress = std::count_if(m_tracked.begin(), m_tracked.end(),
                                           [&](const Tracked& t) { return t.address.isEqual(address); });
    if (int(m_tracked.size()) >= m_limits.maxConnections ||
        (!address.isLoopback() && fromAddress >= m_limits.maxPerAddress)) {
        socket->abort();
        socket->deleteLater();
        return;
    }
    m_tracked.push_back({socket, address, socket->peerPort(), 0, m_clock.nowMs(), false});
    // Connected before the HTTP server's own handler, so that the bytes are counted before it reads them.
    connect(socket, &QTcpSocket::readyRead, this, [this, socket] { account(socket); });
    addPendingConnection(socket);
}

void ConnectionGuard::account(QTcpSocket* socket) {
    auto it = std::find_if(m_tracked.begin(), m_tracked.end(),
                           [&](const Tracked& t) { return t.socket == socket; });
    if (it == m_tracked.end() || it->released)
        return;
    it->windowBytes += socket->bytesAvailable();
    it->lastActivityMs = m_clock.nowMs();
    if (it->windowBytes > m_limits.maxBytesPerWindow)
        socket->abort();
}

void ConnectionGuard::sweep() {
    prune();
    const qint64 now = m_clock.nowMs();
    for (Tracked& t : m_tracked) {
        if (t.released)
            continue;
        t.windowBytes = 0;
        if (now - t.lastActivityMs > m_limits.idleMs)
            t.socket->abort();
    }
}
