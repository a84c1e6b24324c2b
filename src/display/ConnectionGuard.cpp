#include "display/ConnectionGuard.h"

#include "base/MonotonicClock.h"
#include "base/TimerFactory.h"

#include <QTcpSocket>

#include <algorithm>

ConnectionGuard::ConnectionGuard(Limits limits, MonotonicClock& clock, TimerFactory& timers, QObject* parent)
    : QTcpServer(parent), m_limits(limits), m_clock(clock),
      m_sweep(timers.createTimer(QStringLiteral("ConnectionSweep"), TimerKind::Message)),
      m_windowStartMs(clock.nowMs()) {
    // Often enough that a connection outlives its limit by a tenth of the limit at most.
    m_sweep->setInterval(quint32(std::clamp(std::min(m_limits.windowMs, m_limits.headerMs) / 10, 100, 1000)));
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
    if (int(m_tracked.size()) >= m_limits.maxConnections || fromAddress >= m_limits.maxPerAddress) {
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
    const qint64 now = m_clock.nowMs();
    it->windowBytes += socket->bytesAvailable();
    it->lastActivityMs = now;
    if (it->windowBytes > m_limits.maxBytesPerWindow) {
        socket->abort();
        return;
    }
    // The HTTP server has read what came before (within its transaction, which peek respects).
    followHeaders(*it, socket->peek(socket->bytesAvailable()), now);
}

// Bytes keep a connection from being idle, but not for ever: a request's headers must end in time.
// A blank line ends them, with or without CR. The page sends only GETs, which carry no body, so what
// follows the blank line is taken as the next request.
void ConnectionGuard::followHeaders(Tracked& tracked, const QByteArray& bytes, qint64 nowMs) {
    for (const char c : bytes) {
        if (c == '\r')
            continue;
        if (tracked.headersSinceMs < 0) {
            // Line ends between requests are allowed and start nothing.
            if (c != '\n') {
                tracked.headersSinceMs = nowMs;
                tracked.atLineStart = false;
            }
        } else if (c == '\n') {
            if (tracked.atLineStart)
                tracked.headersSinceMs = -1;
            tracked.atLineStart = true;
        } else {
            tracked.atLineStart = false;
        }
    }
}

void ConnectionGuard::sweep() {
    prune();
    const qint64 now = m_clock.nowMs();
    const bool newWindow = now - m_windowStartMs >= m_limits.windowMs;
    if (newWindow)
        m_windowStartMs = now;
    for (Tracked& t : m_tracked) {
        if (t.released)
            continue;
        if (newWindow)
            t.windowBytes = 0;
        const bool silent = now - t.lastActivityMs > m_limits.idleMs;
        const bool headersLate = t.headersSinceMs >= 0 && now - t.headersSinceMs > m_limits.headerMs;
        if (silent || headersLate)
            t.socket->abort();
    }
}
