#pragma once

#include "display/ConnectionGuard.h"
#include "display/HistoryRoutes.h"
#include "display/LiveSnapshot.h"

#include <QByteArray>
#include <QObject>
#include <QTimer>

#include <memory>
#include <vector>

class MonotonicClock;
class QHttpServer;
class TimerFactory;
class QWebSocket;

// What one page may cost the server.
struct LiveServerLimits {
    ConnectionLimits connections;
    qint64 maxBacklogBytes = 512 * 1024; // what may wait unsent for one page
    int maxIncomingBytes = 4096;         // per window, from one page (it sends nothing but pongs)
    int pingMs = 15000;                  // keeps idle pages known to be alive
    int heartbeatMs = 3000;              // how often a page hears that the station is alive
};

// The live results page's server, meant to run on a thread of its own: the page and its script from
// the program's resources, the race as JSON at "/api/race", and every change pushed to the page's
// WebSocket. It serves nothing else: no file of the station is reachable through it. A WebSocket
// client that sends more than a ping's worth, or that reads so slowly that what waits for it keeps
// growing, is dropped.
class LiveResultsServer : public QObject {
    Q_OBJECT

public:
    using Limits = LiveServerLimits;

    // The connections' silence is measured on clock and the program's message timers, or on timers.
    explicit LiveResultsServer(MonotonicClock& clock, Limits limits = {}, QObject* parent = nullptr);
    LiveResultsServer(MonotonicClock& clock, TimerFactory& timers, Limits limits = {},
                      QObject* parent = nullptr);
    ~LiveResultsServer() override;

    // The port listened on; 0 while not listening.
    quint16 port() const { return m_port; }
    int webSocketCount() const { return int(m_clients.size()); }
    // Requests for a results sheet that is being drawn.
    int sheetRequestsWaiting() const { return m_history.sheetRequestsWaiting(); }

public slots:
    // Listens on every address at port (0: any free port); says which by listening() or why not by
    // failed().
    void start(quint16 port);
    void stop();
    void publish(const LiveSnapshot& snapshot);
    // The races kept in folder ("vysledky") become the page's history, their results sheets made by
    // pdf on a worker of the history's own (never the main thread); an empty folder: no history.
    void setHistory(const QString& folder, KeptRacePdfMaker pdf);

signals:
    void listening(quint16 port);
    void failed(const QString& message);

private:
    struct Client {
        std::unique_ptr<QWebSocket> socket;
        qint64 incomingBytes = 0;
    };

    void addWebSockets();
    void send(Client& client, const QString& message);
    void dropClosed();
    void pingAll();
    void heartbeat();

    MonotonicClock& m_clock;
    TimerFactory& m_timers;
    Limits m_limits;
    std::unique_ptr<QHttpServer> m_http;
    ConnectionGuard* m_guard = nullptr; // owned by m_http once bound
    std::vector<Client> m_clients;
    LiveSnapshot m_snapshot;
    HistoryRoutes m_history;
    quint16 m_port = 0;
    // Children, so that they move to the server's thread with it.
    QTimer* m_ping;
    QTimer* m_window;
    QTimer* m_heartbeat;
};
