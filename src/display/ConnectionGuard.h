#pragma once

#include "base/ITimer.h"

#include <QHostAddress>
#include <QPointer>
#include <QTcpServer>

#include <memory>
#include <vector>

class MonotonicClock;
class QTcpSocket;
class TimerFactory;

// How many connections the live results page takes, and what each may send.
struct ConnectionLimits {
    int maxConnections = 768; // below the usual 1024 open files, with room for the station's own
    // A phone's browser opens a handful. The loopback gets no more than any other address: a local
    // program holding hundreds of connections would lock the audience out.
    int maxPerAddress = 16;
    qint64 maxBytesPerWindow = 64 * 1024;
    int windowMs = 10000;
    int idleMs = 30000;
    // From a request's first byte to the blank line that ends its headers, however it trickles in.
    int headerMs = 10000;
};

// The listening socket of the live results page, which keeps its clients within bounds before the
// HTTP server sees them: at most so many connections in all and from one address, a connection
// silent too long is closed, so is one whose request's headers are not complete in time, and one that
// sends more than a page's requests can need is dropped.
// A connection that became a WebSocket is the server's to watch from then on (release()). Silence and
// the windows are measured on the injected clock and timer, so that tests can run them on virtual time.
class ConnectionGuard : public QTcpServer {
    Q_OBJECT

public:
    using Limits = ConnectionLimits;

    ConnectionGuard(Limits limits, MonotonicClock& clock, TimerFactory& timers, QObject* parent = nullptr);

    int connectionCount();
    // The connection from this peer is a WebSocket now; its traffic is no longer counted here.
    void release(const QHostAddress& address, quint16 port);

protected:
    void incomingConnection(qintptr descriptor) override;

private:
    struct Tracked {
        QPointer<QTcpSocket> socket;
        QHostAddress address;
        quint16 port = 0;
        qint64 windowBytes = 0;
        qint64 lastActivityMs = 0;
        bool released = false;
        qint64 headersSinceMs = -1; // -1: between requests
        bool atLineStart = false;
    };

    void prune();
    void account(QTcpSocket* socket);
    static void followHeaders(Tracked& tracked, const QByteArray& bytes, qint64 nowMs);
    void sweep();

    Limits m_limits;
    std::vector<Tracked> m_tracked;
    MonotonicClock& m_clock;
    std::unique_ptr<ITimer> m_sweep;
    qint64 m_windowStartMs = 0;
};
