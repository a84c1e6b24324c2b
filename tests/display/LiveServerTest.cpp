// The live results page's server on loopback: what it serves and what it refuses, the push to the
// page, a port that is taken, and the clients it drops (a flood, a page that never reads, one
// connection too many, from the loopback as from anywhere), and the guard's time limits on virtual time.
#include "FakeClock.h"
#include "VirtualScheduler.h"
#include "VirtualTimerFactory.h"

#include "base/MonotonicClock.h"
#include "display/ConnectionGuard.h"
#include "display/LiveResultsServer.h"

#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QSemaphore>
#include <QSignalSpy>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QTest>
#include <QWebSocket>

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <memory>
#include <vector>

namespace {

constexpr int Wait = 20000;

struct Reply {
    int status = 0;
    QByteArray body;
    QByteArray type;
};

Reply request(quint16 port, const QString& path, const QByteArray& verb = "GET") {
    QNetworkAccessManager manager;
    QNetworkRequest req(QUrl(QStringLiteral("http://127.0.0.1:%1%2").arg(port).arg(path)));
    std::unique_ptr<QNetworkReply> reply(manager.sendCustomRequest(req, verb));
    QSignalSpy finished(reply.get(), &QNetworkReply::finished);
    EXPECT_TRUE(finished.wait(Wait));
    return {reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt(), reply->readAll(),
            reply->header(QNetworkRequest::ContentTypeHeader).toByteArray()};
}

LiveSnapshot race(int lapsPerKart) {
    LiveSnapshot snapshot;
    snapshot.running = true;
    for (int k = 0; k < 4; ++k) {
        snapshot.raceList[k] = {QString::number(k + 1), QStringLiteral("kara%1").arg(k + 1), "00:30:000", "1",
                                k + 1};
        for (int lap = 0; lap < lapsPerKart; ++lap)
            snapshot.laps[k].append(30000 + lap);
    }
    return snapshot;
}

class LiveServer : public ::testing::Test {
protected:
    // The heartbeat is kept out of the way of tests that count the pushes, unless a test asks for it.
    void start(LiveServerLimits limits = quiet()) {
        server = std::make_unique<LiveResultsServer>(SteadyClock::instance(), limits);
        QSignalSpy listening(server.get(), &LiveResultsServer::listening);
        server->start(0);
        ASSERT_EQ(listening.count(), 1);
        port = server->port();
        ASSERT_NE(port, 0);
    }
    static LiveServerLimits quiet() {
        LiveServerLimits limits;
        limits.heartbeatMs = 3600 * 1000;
        return limits;
    }
    QUrl live() const { return QUrl(QStringLiteral("ws://127.0.0.1:%1/live").arg(port)); }

    std::unique_ptr<LiveResultsServer> server;
    quint16 port = 0;
};

// A raw client, from a local address of its choosing.
std::unique_ptr<QTcpSocket> connectFrom(const QHostAddress& from, quint16 port) {
    auto socket = std::make_unique<QTcpSocket>();
    EXPECT_TRUE(socket->bind(from));
    socket->connectToHost(QHostAddress::LocalHost, port);
    EXPECT_TRUE(socket->waitForConnected(Wait));
    return socket;
}

bool closed(const QTcpSocket& socket) {
    return QTest::qWaitFor([&] { return socket.state() == QAbstractSocket::UnconnectedState; }, Wait);
}

TEST_F(LiveServer, ServesItsPageAndTheRaceAndNothingElse) {
    start();
    server->publish(race(2));
    const Reply page = request(port, "/");
    EXPECT_EQ(page.status, 200);
    EXPECT_TRUE(page.type.startsWith("text/html"));
    EXPECT_TRUE(QString::fromUtf8(page.body).contains(QStringLiteral("Tabulka nejlepších deseti")));
    EXPECT_EQ(request(port, "/live.js").status, 200);
    const Reply api = request(port, "/api/race");
    EXPECT_EQ(api.status, 200);
    const QJsonObject json = QJsonDocument::fromJson(api.body).object();
    EXPECT_EQ(json["karts"].toArray().size(), 4);
    EXPECT_EQ(json["karts"].toArray()[0].toObject()["count"].toInt(), 2);
    for (const QString& path : {QStringLiteral("/../../etc/passwd"), QStringLiteral("/web/index.html"),
                                QStringLiteral("/index.html"), QStringLiteral("/api/race/x")})
        EXPECT_EQ(request(port, path).status, 404) << path.toStdString();
    EXPECT_NE(request(port, "/api/race", "POST").status, 200);
}

TEST_F(LiveServer, PushesEveryChangeToTheOpenPages) {
    start();
    QWebSocket page;
    QSignalSpy messages(&page, &QWebSocket::textMessageReceived);
    page.open(live());
    // The race as it is, at once.
    ASSERT_TRUE(messages.wait(Wait));
    EXPECT_FALSE(
        QJsonDocument::fromJson(messages.last().at(0).toString().toUtf8()).object()["running"].toBool());
    server->publish(race(3));
    ASSERT_TRUE(QTest::qWaitFor([&] { return messages.count() == 2; }, Wait));
    const QJsonObject json = QJsonDocument::fromJson(messages.last().at(0).toString().toUtf8()).object();
    EXPECT_TRUE(json["running"].toBool());
    EXPECT_EQ(json["karts"].toArray()[3].toObject()["laps"].toArray().size(), 3);
    EXPECT_EQ(server->webSocketCount(), 1);
}

TEST_F(LiveServer, APageHearsTheHeartbeatWhileNothingChanges) {
    LiveServerLimits limits;
    limits.heartbeatMs = 500;
    start(limits);
    QWebSocket page;
    QStringList texts;
    QObject::connect(&page, &QWebSocket::textMessageReceived, [&texts](const QString& t) { texts << t; });
    page.open(live());
    ASSERT_TRUE(QTest::qWaitFor([&] { return texts.size() >= 3; }, Wait));
    // The race at once, then heartbeats that carry no race to draw.
    EXPECT_TRUE(QJsonDocument::fromJson(texts[0].toUtf8()).object().contains("karts"));
    EXPECT_TRUE(QJsonDocument::fromJson(texts[2].toUtf8()).object()["heartbeat"].toBool());
}

// A results sheet is drawn on a worker: the page is pushed to while it is drawn, the requests that
// come meanwhile wait for that one drawing and all get its sheet, which is kept; a sheet that could
// not be drawn is said and drawn again at the next request.
TEST_F(LiveServer, DrawsAResultsSheetOnceOnAWorkerWhileThePushGoesOn) {
    QTemporaryDir kept;
    QFile lapFile(kept.filePath(QStringLiteral("2025-03-01 10-00-00 kara1.txt")));
    ASSERT_TRUE(lapFile.open(QIODevice::WriteOnly) && lapFile.write("00:31:000\r\n") > 0);
    lapFile.close();
    std::atomic<int> drawn{0};
    std::atomic<bool> fail{false};
    QSemaphore letGo;
    const KeptRacePdfMaker maker = [&](const std::array<QString, 4>& paths) -> QByteArray {
        const int n = ++drawn;
        // Until the test lets it go, which it does only after the push: a sheet drawn on the server's
        // own thread would hold the push and the other requests for as long as it waits here.
        if (!letGo.tryAcquire(1, Wait) || fail)
            return QByteArray();
        return QByteArray("%PDF-") + QByteArray::number(n) + QFileInfo(paths[0]).fileName().toUtf8();
    };
    start();
    server->setHistory(kept.path(), maker);
    const QUrl sheet(QStringLiteral("http://127.0.0.1:%1/zavody/2025-03-01_10-00-00/vysledky.pdf").arg(port));

    QNetworkAccessManager manager;
    std::vector<std::unique_ptr<QNetworkReply>> replies;
    for (int i = 0; i < 4; ++i)
        replies.emplace_back(manager.get(QNetworkRequest(sheet)));
    ASSERT_TRUE(QTest::qWaitFor([&] { return server->sheetRequestsWaiting() == 4; }, Wait));
    QWebSocket page;
    QSignalSpy messages(&page, &QWebSocket::textMessageReceived);
    page.open(live());
    ASSERT_TRUE(messages.wait(Wait));
    server->publish(race(3));
    ASSERT_TRUE(QTest::qWaitFor([&] { return messages.count() == 2; }, Wait));

    letGo.release();
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            return std::all_of(replies.begin(), replies.end(), [](const auto& r) { return r->isFinished(); });
        },
        Wait));
    for (const auto& reply : replies) {
        EXPECT_EQ(reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt(), 200);
        EXPECT_EQ(reply->header(QNetworkRequest::ContentTypeHeader).toByteArray(), "application/pdf");
        EXPECT_EQ(reply->readAll(), "%PDF-12025-03-01 10-00-00 kara1.txt");
    }
    EXPECT_EQ(request(port, sheet.path()).body, "%PDF-12025-03-01 10-00-00 kara1.txt");
    EXPECT_EQ(drawn.load(), 1);
    EXPECT_EQ(server->sheetRequestsWaiting(), 0);

    // Applied again (new print settings), the history draws anew; a failure is not kept.
    server->setHistory(kept.path(), maker);
    fail = true;
    letGo.release(2);
    for (int i = 0; i < 2; ++i) {
        const Reply failed = request(port, sheet.path());
        EXPECT_EQ(failed.status, 500);
        EXPECT_EQ(QString::fromUtf8(failed.body), QStringLiteral("Výsledky se nepodařilo vytvořit."));
    }
    EXPECT_EQ(drawn.load(), 3);
}

TEST_F(LiveServer, APortInUseIsSaidInCzech) {
    start();
    LiveResultsServer second(SteadyClock::instance());
    QSignalSpy failed(&second, &LiveResultsServer::failed);
    second.start(port);
    ASSERT_EQ(failed.count(), 1);
    EXPECT_TRUE(failed.first().at(0).toString().contains(QStringLiteral("už používá")))
        << failed.first().at(0).toString().toStdString();
    EXPECT_EQ(second.port(), 0);
    // The first goes on serving.
    EXPECT_EQ(request(port, "/api/race").status, 200);
}

TEST_F(LiveServer, DropsFloodsPagesThatNeverReadAndConnectionsBeyondTheLimit) {
    LiveServerLimits limits = quiet();
    limits.connections.maxConnections = 3;
    limits.maxBacklogBytes = 64 * 1024;
    start(limits);

    // A page that sends more than pongs.
    QWebSocket flood;
    QSignalSpy floodClosed(&flood, &QWebSocket::disconnected);
    QSignalSpy opened(&flood, &QWebSocket::connected);
    flood.open(live());
    ASSERT_TRUE(opened.wait(Wait));
    for (int i = 0; i < 10; ++i)
        flood.sendTextMessage(QString(1000, QLatin1Char('x')));
    EXPECT_TRUE(floodClosed.wait(Wait));

    // A raw HTTP flood before any request ends.
    QTcpSocket raw;
    raw.connectToHost(QHostAddress::LocalHost, port);
    ASSERT_TRUE(raw.waitForConnected(Wait));
    raw.write("GET / HTTP/1.1\r\nX-Fill: ");
    raw.write(QByteArray(200 * 1024, 'y'));
    EXPECT_TRUE(QTest::qWaitFor([&] { return raw.state() == QAbstractSocket::UnconnectedState; }, Wait));

    // A page that shakes hands and then never reads: big changes pile up until it is dropped.
    QTcpSocket stuck;
    stuck.setReadBufferSize(1);
    stuck.connectToHost(QHostAddress::LocalHost, port);
    ASSERT_TRUE(stuck.waitForConnected(Wait));
    stuck.write("GET /live HTTP/1.1\r\nHost: 127.0.0.1\r\nUpgrade: websocket\r\nConnection: Upgrade\r\n"
                "Sec-WebSocket-Key: dGhlIHNhbXBsZSBub25jZQ==\r\nSec-WebSocket-Version: 13\r\n\r\n");
    ASSERT_TRUE(QTest::qWaitFor([&] { return server->webSocketCount() == 1; }, Wait));
    const LiveSnapshot big = race(3000);
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            server->publish(big);
            return server->webSocketCount() == 0;
        },
        Wait));

    // Three connections are the limit: a fourth is closed at once.
    std::vector<std::unique_ptr<QTcpSocket>> held;
    for (int i = 0; i < 4; ++i) {
        held.push_back(std::make_unique<QTcpSocket>());
        held.back()->connectToHost(QHostAddress::LocalHost, port);
        ASSERT_TRUE(held.back()->waitForConnected(Wait));
    }
    EXPECT_TRUE(
        QTest::qWaitFor([&] { return held.back()->state() == QAbstractSocket::UnconnectedState; }, Wait));
    EXPECT_EQ(held.front()->state(), QAbstractSocket::ConnectedState);
}

TEST_F(LiveServer, TheLoopbackHasTheSameCapPerAddressAsAnyOtherAddress) {
    LiveServerLimits limits = quiet();
    limits.connections.maxPerAddress = 2;
    start(limits);
    const QHostAddress local(QStringLiteral("127.0.0.1"));
    std::vector<std::unique_ptr<QTcpSocket>> held;
    for (int i = 0; i < 3; ++i)
        held.push_back(connectFrom(local, port));
    EXPECT_TRUE(closed(*held.back()));
    // Another address is served meanwhile.
    auto viewer = connectFrom(QHostAddress(QStringLiteral("127.0.0.2")), port);
    viewer->write("GET /api/race HTTP/1.1\r\nHost: 127.0.0.1\r\n\r\n");
    EXPECT_TRUE(QTest::qWaitFor([&] { return viewer->peek(12) == "HTTP/1.1 200"; }, Wait));
    EXPECT_EQ(held.front()->state(), QAbstractSocket::ConnectedState);
}

TEST(ConnectionGuardTime, AConnectionSilentLongerThanItsIdleTimeIsClosedAndOneThatSpokeStays) {
    FakeClock clock;
    VirtualScheduler scheduler(clock);
    VirtualTimerFactory timers(scheduler);
    ConnectionLimits limits; // silent 30 s at most
    ConnectionGuard guard(limits, clock, timers);
    ASSERT_TRUE(guard.listen(QHostAddress::LocalHost, 0));
    QTcpSocket quiet;
    QTcpSocket talking;
    for (QTcpSocket* client : {&quiet, &talking}) {
        client->connectToHost(QHostAddress::LocalHost, guard.serverPort());
        ASSERT_TRUE(client->waitForConnected(Wait));
    }
    ASSERT_TRUE(QTest::qWaitFor([&] { return guard.hasPendingConnections(); }, Wait));
    QTcpSocket* first = guard.nextPendingConnection();
    ASSERT_TRUE(QTest::qWaitFor([&] { return guard.hasPendingConnections(); }, Wait));
    QTcpSocket* second = guard.nextPendingConnection();
    ASSERT_EQ(guard.connectionCount(), 2);
    QTcpSocket* heard = first->peerPort() == talking.localPort() ? first : second;

    scheduler.advance(25000);
    EXPECT_EQ(guard.connectionCount(), 2);
    // The guard counts the bytes before anyone else hears them.
    QSignalSpy arrived(heard, &QTcpSocket::readyRead);
    talking.write("GET / HTTP/1.1\r\n\r\n");
    ASSERT_TRUE(arrived.wait(Wait));
    scheduler.advance(5000);
    EXPECT_EQ(guard.connectionCount(), 2) << "30 s of silence are allowed";
    scheduler.advance(10000);
    EXPECT_EQ(guard.connectionCount(), 1);
    EXPECT_TRUE(QTest::qWaitFor([&] { return quiet.state() == QAbstractSocket::UnconnectedState; }, Wait));
    EXPECT_EQ(talking.state(), QAbstractSocket::ConnectedState);
}

TEST(ConnectionGuardTime, ARequestTrickledAByteAtATimeIsClosedAtItsHeaderDeadline) {
    FakeClock clock;
    VirtualScheduler scheduler(clock);
    VirtualTimerFactory timers(scheduler);
    ConnectionGuard guard(ConnectionLimits{}, clock, timers); // headers within 10 s
    ASSERT_TRUE(guard.listen(QHostAddress::LocalHost, 0));
    qint64 heard = 0;
    const auto accept = [&](QTcpSocket& client) {
        client.connectToHost(QHostAddress::LocalHost, guard.serverPort());
        ASSERT_TRUE(client.waitForConnected(Wait));
        ASSERT_TRUE(QTest::qWaitFor([&] { return guard.hasPendingConnections(); }, Wait));
        QTcpSocket* accepted = guard.nextPendingConnection();
        // Read as the HTTP server reads, after the guard has looked.
        QObject::connect(accepted, &QTcpSocket::readyRead, accepted,
                         [accepted, &heard] { heard += accepted->readAll().size(); });
    };
    QTcpSocket slow;
    QTcpSocket quick;
    accept(slow);
    accept(quick);
    // A whole request; the connection then waits for the next one.
    const QByteArray whole = "GET / HTTP/1.1\r\nHost: 127.0.0.1\r\n\r\n";
    quick.write(whole);
    ASSERT_TRUE(QTest::qWaitFor([&] { return heard == whole.size(); }, Wait));

    const QByteArray trickle = "GET / HTTP/1.1\r\nHost: 127.0.0.1\r\nX-Slow: abcdefgh";
    for (int second = 0; second <= 10; ++second) {
        ASSERT_EQ(guard.connectionCount(), 2) << "10 s for the headers are allowed, at " << second;
        const qint64 before = heard;
        slow.write(trickle.mid(second, 1));
        ASSERT_TRUE(QTest::qWaitFor([&] { return heard == before + 1; }, Wait));
        scheduler.advance(1000);
    }
    EXPECT_EQ(guard.connectionCount(), 1);
    EXPECT_TRUE(closed(slow));
    EXPECT_EQ(quick.state(), QAbstractSocket::ConnectedState);
}

} // namespace
