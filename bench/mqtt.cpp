// Pass-to-subscriber latency through a real mosquitto broker on loopback, the messages per second
// the outbox (one durable file per message) and the whole publisher sustain, and what arrives when the
// broker restarts again and again in the middle of a race.
//
//   mqtt [passes] [--restarts N]    (default 2000 passes, 20 restarts; needs /usr/sbin/mosquitto)

#include "MosquittoBroker.h"
#include "MqttTestSubscriber.h"
#include "publish/MqttOutbox.h"
#include "publish/MqttPublisher.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRandomGenerator>
#include <QSet>
#include <QStandardPaths>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QThread>

#include <mosquitto.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

struct Arrivals {
    std::mutex mutex;
    std::vector<Clock::time_point> at; // by lap - 1
    std::atomic<int> count{0};
    std::atomic<bool> subscribed{false};
};

void onMessage(mosquitto*, void* data, const mosquitto_message* message) {
    const Clock::time_point now = Clock::now();
    auto* arrivals = static_cast<Arrivals*>(data);
    const QJsonObject pass =
        QJsonDocument::fromJson(QByteArray(static_cast<const char*>(message->payload), message->payloadlen))
            .object();
    const int lap = pass.value(QStringLiteral("lap")).toInt();
    std::lock_guard<std::mutex> lock(arrivals->mutex);
    if (lap >= 1 && lap <= int(arrivals->at.size()) && arrivals->at[lap - 1] == Clock::time_point()) {
        arrivals->at[lap - 1] = now;
        ++arrivals->count;
    }
}

double percentile(std::vector<double> values, double p) {
    std::sort(values.begin(), values.end());
    return values.empty() ? 0
                          : values[std::min(values.size() - 1, std::size_t(p * (values.size() - 1) + 0.5))];
}

bool waitUntil(const std::function<bool()>& done, int timeoutMs) {
    const QDeadlineTimer deadline(timeoutMs);
    while (!done() && !deadline.hasExpired())
        QThread::msleep(1);
    return done();
}

// A race's passes, one every 10 ms, while the broker is stopped and started again `restarts` times at
// random instants (seeded): the passes sent, and those the subscriber got (first arrivals by id), with
// the missing ones, those out of order and the repeats.
void restartRound(int restarts) {
    MosquittoBroker broker;
    QString why;
    if (!broker.start(&why)) {
        std::fprintf(stderr, "restarts: %s\n", qPrintable(why));
        return;
    }
    MqttTestSubscriber subscriber(broker.port(), QStringLiteral("tarvolin/restarts/pass"));
    subscriber.waitSubscribed();
    QTemporaryDir dir;
    MqttConnection connection;
    connection.host = QStringLiteral("127.0.0.1");
    connection.port = broker.port();
    connection.track = QStringLiteral("restarts");
    MqttPublisher publisher(dir.filePath(QStringLiteral("outbox")), connection);
    waitUntil([&] { return publisher.status().connected; }, 10000);

    QRandomGenerator random(20261210);
    QStringList sentIds;
    const QDateTime wall = QDateTime::currentDateTime();
    int lap = 0;
    const auto race = [&](int passes) {
        for (int i = 0; i < passes; ++i) {
            ++lap;
            const int kart = 1 + lap % 4;
            publisher.publishPass(
                {QStringLiteral("restarts"), kart, lap, 30000, lap * 30000, wall, QString()});
            sentIds << QStringLiteral("restarts-%1-%2").arg(kart).arg(lap);
            QCoreApplication::processEvents();
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
    };
    for (int round = 0; round < restarts; ++round) {
        race(20 + int(random.bounded(60)));
        broker.stop();
        race(5 + int(random.bounded(40)));
        if (!broker.start(&why)) {
            std::fprintf(stderr, "restarts: %s\n", qPrintable(why));
            return;
        }
    }
    race(50);
    waitUntil(
        [&] {
            QCoreApplication::processEvents();
            return publisher.status().connected && publisher.status().waiting == 0;
        },
        120000);
    subscriber.waitFor(
        [&](const QList<MqttTestSubscriber::Message>& messages) { return messages.size() >= lap; }, 60000);
    QStringList arrived;
    QSet<QString> seen;
    int repeats = 0;
    for (const MqttTestSubscriber::Message& message : subscriber.messages()) {
        const QString id =
            QJsonDocument::fromJson(message.payload).object().value(QStringLiteral("id")).toString();
        if (seen.contains(id)) {
            ++repeats;
            continue;
        }
        seen.insert(id);
        arrived << id;
    }
    int missing = 0;
    for (const QString& id : sentIds)
        missing += seen.contains(id) ? 0 : 1;
    int outOfOrder = 0;
    for (int i = 0; i < arrived.size(); ++i)
        outOfOrder += i < sentIds.size() && arrived.at(i) != sentIds.at(i) ? 1 : 0;
    std::printf("restarts: %d broker restarts, %lld passes sent, %lld arrived, %d missing, %d out of order, "
                "%d repeats (same id)\n",
                restarts, qlonglong(sentIds.size()), qlonglong(arrived.size()), missing, outOfOrder, repeats);
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    int passes = 2000;
    int restarts = 20;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--restarts") == 0 && i + 1 < argc)
            restarts = std::max(0, atoi(argv[++i]));
        else
            passes = std::max(10, atoi(argv[i]));
    }
    const QString broker =
        QStandardPaths::findExecutable(QStringLiteral("mosquitto"), {QStringLiteral("/usr/sbin")});
    if (broker.isEmpty()) {
        std::fprintf(stderr, "mosquitto is not installed\n");
        return 1;
    }
    QTemporaryDir dir;
    quint16 port = 0;
    {
        QTcpServer probe;
        probe.listen(QHostAddress::LocalHost, 0);
        port = probe.serverPort();
    }
    QFile config(dir.filePath(QStringLiteral("mosquitto.conf")));
    config.open(QIODevice::WriteOnly);
    config.write(QStringLiteral("listener %1 127.0.0.1\nallow_anonymous true\nmax_queued_messages 0\n")
                     .arg(port)
                     .toUtf8());
    config.close();
    QProcess process;
    process.start(broker, {QStringLiteral("-c"), config.fileName()});
    waitUntil(
        [port] {
            QTcpSocket socket;
            socket.connectToHost(QHostAddress::LocalHost, port);
            return socket.waitForConnected(200);
        },
        10000);

    // The outbox alone: a durable append and its removal per message.
    {
        MqttOutbox outbox(dir.filePath(QStringLiteral("outbox-only")));
        const QByteArray payload(200, 'x');
        const Clock::time_point start = Clock::now();
        for (int i = 0; i < passes; ++i)
            outbox.append(QStringLiteral("tarvolin/bench/pass"), payload);
        const double appendS = std::chrono::duration<double>(Clock::now() - start).count();
        for (int i = 1; i <= passes; ++i)
            outbox.remove(quint64(i));
        const double totalS = std::chrono::duration<double>(Clock::now() - start).count();
        std::printf("outbox: %d appends %.0f msg/s, append+remove %.0f msg/s\n", passes, passes / appendS,
                    passes / totalS);
    }

    Arrivals arrivals;
    arrivals.at.resize(std::size_t(passes));
    mosquitto_lib_init();
    mosquitto* subscriber = mosquitto_new("bench-sub", true, &arrivals);
    mosquitto_message_callback_set(subscriber, onMessage);
    mosquitto_subscribe_callback_set(subscriber, [](mosquitto*, void* data, int, int, const int*) {
        static_cast<Arrivals*>(data)->subscribed = true;
    });
    mosquitto_connect_callback_set(subscriber, [](mosquitto* handle, void*, int) {
        mosquitto_subscribe(handle, nullptr, "tarvolin/bench/pass", 1);
    });
    mosquitto_connect(subscriber, "127.0.0.1", port, 30);
    mosquitto_loop_start(subscriber);
    waitUntil([&] { return arrivals.subscribed.load(); }, 10000);

    MqttConnection connection;
    connection.host = QStringLiteral("127.0.0.1");
    connection.port = port;
    connection.track = QStringLiteral("bench");
    MqttPublisher publisher(dir.filePath(QStringLiteral("outbox")), connection);
    waitUntil([&] { return publisher.status().connected; }, 10000);

    // Latency: passes as a race makes them, one every 5 ms (far denser than four karts ever pass).
    const int latencyPasses = passes / 2;
    std::vector<Clock::time_point> sent(static_cast<std::size_t>(passes));
    const QDateTime wall = QDateTime::currentDateTime();
    for (int lap = 1; lap <= latencyPasses; ++lap) {
        sent[lap - 1] = Clock::now();
        publisher.publishPass({QStringLiteral("bench"), 1, lap, 30000, lap * 30000, wall, QString()});
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    waitUntil([&] { return arrivals.count >= latencyPasses; }, 60000);
    std::vector<double> latencies;
    {
        std::lock_guard<std::mutex> lock(arrivals.mutex);
        for (int i = 0; i < latencyPasses; ++i) {
            if (arrivals.at[i] != Clock::time_point())
                latencies.push_back(
                    std::chrono::duration<double, std::milli>(arrivals.at[i] - sent[i]).count());
        }
    }
    std::printf("latency: %zu of %d passes arrived, median %.2f ms, p99 %.2f ms, max %.2f ms\n",
                latencies.size(), latencyPasses, percentile(latencies, 0.5), percentile(latencies, 0.99),
                latencies.empty() ? 0.0 : *std::max_element(latencies.begin(), latencies.end()));

    // Throughput: the rest at once, until the broker acknowledged every one.
    const Clock::time_point start = Clock::now();
    for (int lap = latencyPasses + 1; lap <= passes; ++lap)
        publisher.publishPass({QStringLiteral("bench"), 1, lap, 30000, lap * 30000, wall, QString()});
    waitUntil([&] { return arrivals.count >= passes; }, 120000);
    const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
    std::printf("publisher: %d passes through the outbox to the subscriber in %.2f s, %.0f msg/s\n",
                passes - latencyPasses, seconds, (passes - latencyPasses) / seconds);

    mosquitto_disconnect(subscriber);
    mosquitto_loop_stop(subscriber, true);
    mosquitto_destroy(subscriber);
    process.terminate();
    process.waitForFinished();

    if (restarts > 0)
        restartRound(restarts);
    return 0;
}
