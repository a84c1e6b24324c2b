#pragma once

#include "display/HistoryRoutes.h"
#include "display/LiveResultsServer.h"
#include "display/LiveSnapshot.h"

#include <QObject>
#include <QString>
#include <QThread>

class LiveResultsServer;
class MonotonicClock;

// The live results page as the station's own thread sees it: the server runs on a thread of its
// own, and everything reaches it as queued calls, so serving any number of pages never holds up a
// lap. Lives on the main thread.
class LiveResults : public QObject {
    Q_OBJECT

public:
    // limits: what one page may cost; a benchmark's hundred pages on one loopback raise the cap per
    // address.
    explicit LiveResults(MonotonicClock& clock, LiveServerLimits limits = {}, QObject* parent = nullptr);
    ~LiveResults() override;

    // `Web/Pouzit` and `Web/Port`: starts, moves or stops the page. Nothing happens when they ask for
    // what is already so.
    void apply(bool use, int port);
    // The port the page is served on; 0 while it is not (also after a failed start).
    quint16 port() const { return m_port; }
    // The races kept in folder become the page's history; pdf makes their results sheets, on a worker
    // of the server's.
    void setHistory(const QString& folder, KeptRacePdfMaker pdf);
    // Hands the race's state on to the server.
    void publish(const LiveSnapshot& snapshot);

signals:
    void listening(quint16 port);
    // The page could not be served (the port is taken): the message for the operator.
    void failed(const QString& message);

private:
    QThread m_thread;
    LiveResultsServer* m_server; // lives on m_thread
    int m_requestedPort = 0;     // 0: not requested
    quint16 m_port = 0;
};
