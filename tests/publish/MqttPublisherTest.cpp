#include "publish/MqttPublisher.h"
#include "publish/MqttConnectionCheck.h"

#include "MosquittoBroker.h"
#include "MqttTestSubscriber.h"
#include "TempDataFolder.h"

#include <QDeadlineTimer>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSet>
#include <QTcpServer>
#include <QThread>

#include <gtest/gtest.h>

#include <memory>

namespace {

MqttConnection connectionTo(quint16 port) {
    MqttConnection connection;
    connection.host = QStringLiteral("127.0.0.1");
    connection.port = port;
    connection.track = QStringLiteral("trat1");
    return connection;
}

// The passes of a race of four karts, kart by kart within each lap, as they are accepted.
QList<MqttPass> racePasses(int laps) {
    QList<MqttPass> passes;
    const QDateTime start(QDate(2026, 5, 1), QTime(14, 0));
    for (int lap = 1; lap <= laps; ++lap) {
        for (int kart = 1; kart <= 4; ++kart) {
            const qint64 raceMs = lap * 30000 + kart * 250;
            passes.append({MqttMessages::raceId(start), kart, lap, 30000 + kart, raceMs,
                           start.addMSecs(raceMs),
                           kart == 2 ? QStringLiteral("Žofie Řezníčková") : QString()});
        }
    }
    return passes;
}

QList<QJsonObject> passesReceived(const QList<MqttTestSubscriber::Message>& messages) {
    QList<QJsonObject> passes;
    for (const auto& message : messages) {
        if (message.topic == QStringLiteral("tarvolin/trat1/pass"))
            passes.append(QJsonDocument::fromJson(message.payload).object());
    }
    return passes;
}

// The ids in the order they first arrived.
QStringList firstArrivals(const QList<QJsonObject>& passes) {
    QStringList ids;
    QSet<QString> seen;
    for (const QJsonObject& pass : passes) {
        const QString id = pass.value(QStringLiteral("id")).toString();
        if (!seen.contains(id))
            ids.append(id);
        seen.insert(id);
    }
    return ids;
}

QStringList idsOf(const QList<MqttPass>& passes) {
    QStringList ids;
    for (const MqttPass& pass : passes)
        ids.append(MqttMessages::passId(pass.raceId, pass.kart, pass.lap));
    return ids;
}

bool waitForStatus(const MqttPublisher& publisher,
                   const std::function<bool(const MqttPublisher::Status&)>& ok) {
    const QDeadlineTimer deadline(30000);
    while (!deadline.hasExpired() && !ok(publisher.status()))
        QThread::msleep(10);
    return ok(publisher.status());
}

class MqttPublisherTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (MosquittoBroker::program().isEmpty())
            GTEST_SKIP() << "mosquitto is not installed";
        QString why;
        ASSERT_TRUE(m_broker.start(&why)) << why.toStdString();
    }

    QString outboxFolder() const { return m_data.filePath(QStringLiteral("mqtt")); }

    TempDataFolder m_data;
    MosquittoBroker m_broker;
};

TEST_F(MqttPublisherTest, ARacesPassesResultAndStateArriveCompleteAtASubscriber) {
    MqttTestSubscriber subscriber(m_broker.port(), QStringLiteral("tarvolin/#"));
    ASSERT_TRUE(subscriber.waitSubscribed());
    const QList<MqttPass> passes = racePasses(10);
    MqttPublisher publisher(outboxFolder(), connectionTo(m_broker.port()));
    for (const MqttPass& pass : passes)
        publisher.publishPass(pass);
    MqttResult result{passes.first().raceId, passes.last().wall, {}, {}};
    result.laps[0] = {30001, 30002};
    publisher.publishResult(result);
    ASSERT_TRUE(waitForStatus(publisher, [](const auto& status) { return status.connected; }));
    publisher.publishState("{\"running\":false}");

    ASSERT_TRUE(subscriber.waitFor([](const auto& messages) {
        bool state = false, result = false;
        for (const auto& message : messages) {
            state = state || message.topic.endsWith(QStringLiteral("/state"));
            result = result || message.topic.endsWith(QStringLiteral("/result"));
        }
        return state && result;
    }));
    const QList<QJsonObject> received = passesReceived(subscriber.messages());
    EXPECT_EQ(firstArrivals(received), idsOf(passes));
    ASSERT_GE(received.size(), 2);
    const QJsonObject second = received.at(1);
    EXPECT_EQ(second.value(QStringLiteral("kart")).toInt(), 2);
    EXPECT_EQ(second.value(QStringLiteral("lap")).toInt(), 1);
    EXPECT_EQ(second.value(QStringLiteral("lapMs")).toInteger(), 30002);
    EXPECT_EQ(second.value(QStringLiteral("raceMs")).toInteger(), 30500);
    EXPECT_EQ(second.value(QStringLiteral("race")).toString(), QStringLiteral("20260501-140000"));
    EXPECT_EQ(second.value(QStringLiteral("name")).toString(), QStringLiteral("Žofie Řezníčková"));
    EXPECT_EQ(second.value(QStringLiteral("wall")).toString(), QStringLiteral("2026-05-01T14:00:30.500"));
    EXPECT_TRUE(waitForStatus(publisher, [](const auto& status) { return status.waiting == 0; }))
        << "every acknowledged message leaves the outbox";

    // A later subscriber finds the state, the result and the presence retained.
    MqttTestSubscriber late(m_broker.port(), QStringLiteral("tarvolin/trat1/+"));
    ASSERT_TRUE(late.waitFor([](const auto& messages) { return messages.size() >= 3; }));
    QStringList retained;
    for (const auto& message : late.messages()) {
        EXPECT_TRUE(message.retained);
        retained.append(message.topic + QLatin1Char('=') + QString::fromUtf8(message.payload.left(12)));
    }
    retained.sort();
    EXPECT_EQ(retained, QStringList({QStringLiteral("tarvolin/trat1/online=1"),
                                     QStringLiteral("tarvolin/trat1/result={\"id\":\"20260"),
                                     QStringLiteral("tarvolin/trat1/state={\"running\":f")}));
}

TEST_F(MqttPublisherTest, EveryPassArrivesInOrderThroughABrokerRestart) {
    MqttTestSubscriber subscriber(m_broker.port(), QStringLiteral("tarvolin/trat1/pass"));
    ASSERT_TRUE(subscriber.waitSubscribed());
    const QList<MqttPass> passes = racePasses(50);
    MqttPublisher publisher(outboxFolder(), connectionTo(m_broker.port()));
    for (int i = 0; i < 100; ++i)
        publisher.publishPass(passes.at(i));
    ASSERT_TRUE(subscriber.waitFor([](const auto& messages) { return messages.size() >= 20; }));
    m_broker.stop();
    for (int i = 100; i < passes.size(); ++i)
        publisher.publishPass(passes.at(i));
    ASSERT_TRUE(
        waitForStatus(publisher, [](const auto& status) { return !status.connected && status.waiting > 0; }));
    EXPECT_EQ(MqttPublisher::notice(publisher.status()),
              QStringLiteral("MQTT: spojení ztraceno, %1 zpráv čeká").arg(publisher.status().waiting));

    QString why;
    ASSERT_TRUE(m_broker.start(&why)) << why.toStdString();
    ASSERT_TRUE(
        waitForStatus(publisher, [](const auto& status) { return status.connected && status.waiting == 0; }));
    const QStringList expected = idsOf(passes);
    ASSERT_TRUE(subscriber.waitFor([&](const auto& messages) {
        return firstArrivals(passesReceived(messages)).size() >= expected.size();
    }));
    const QList<QJsonObject> received = passesReceived(subscriber.messages());
    EXPECT_EQ(firstArrivals(received), expected) << "none missing, none out of order";
    // A repeat is the message sent before, whole, under the same id.
    QHash<QString, QJsonObject> first;
    for (const QJsonObject& pass : received) {
        const QString id = pass.value(QStringLiteral("id")).toString();
        if (first.contains(id)) {
            EXPECT_EQ(first.value(id), pass);
        }
        first.insert(id, pass);
    }
    EXPECT_TRUE(MqttPublisher::notice(publisher.status()).isEmpty());
}

TEST_F(MqttPublisherTest, TheOutboxOutlivesTheProgramAndToldWhenFull) {
    MqttConnection nowhere = connectionTo(m_broker.port());
    m_broker.stop();
    const QList<MqttPass> passes = racePasses(1);
    {
        MqttPublisher publisher(outboxFolder(), nowhere, 3);
        for (const MqttPass& pass : passes)
            publisher.publishPass(pass);
        ASSERT_TRUE(waitForStatus(publisher, [](const auto& status) { return status.full; }));
        EXPECT_EQ(publisher.status().waiting, 3);
        EXPECT_EQ(MqttPublisher::notice(publisher.status()),
                  QStringLiteral("MQTT: fronta zpráv je plná (3), další výsledky se neuloží"));
    }
    QString why;
    ASSERT_TRUE(m_broker.start(&why)) << why.toStdString();
    MqttTestSubscriber subscriber(m_broker.port(), QStringLiteral("tarvolin/trat1/pass"));
    ASSERT_TRUE(subscriber.waitSubscribed());
    MqttPublisher restarted(outboxFolder(), nowhere, 3);
    ASSERT_TRUE(subscriber.waitFor([](const auto& messages) { return messages.size() >= 3; }));
    EXPECT_EQ(firstArrivals(passesReceived(subscriber.messages())), idsOf(passes.mid(0, 3)));
    EXPECT_TRUE(
        waitForStatus(restarted, [](const auto& status) { return status.waiting == 0 && !status.full; }));
}

} // namespace

namespace {

TEST_F(MqttPublisherTest, TheConnectionCheckSaysWhatHappened) {
    MqttConnection connection = connectionTo(m_broker.port());
    EXPECT_EQ(MqttConnectionCheck::run(connection),
              QStringLiteral("Spojení se serverem 127.0.0.1:%1 je v pořádku.").arg(m_broker.port()));
    m_broker.stop();
    EXPECT_EQ(MqttConnectionCheck::run(connection),
              QStringLiteral("Spojení se nezdařilo: server není dostupný"));
}

} // namespace

namespace {

// A broker that refuses the login and one that takes the connection but never answers: the passes
// wait in the outbox, and the operator is told why.
TEST(MqttPublisherFaults, ARefusingOrSilentBrokerKeepsThePassesAndSaysSo) {
    if (MosquittoBroker::program().isEmpty())
        GTEST_SKIP() << "mosquitto is not installed";
    MosquittoBroker refusing(false);
    QString why;
    ASSERT_TRUE(refusing.start(&why)) << why.toStdString();
    EXPECT_EQ(MqttConnectionCheck::run(connectionTo(refusing.port())),
              QStringLiteral("Spojení se nezdařilo: server odmítl přihlášení"));
    TempDataFolder data;
    const QList<MqttPass> passes = racePasses(2);
    {
        MqttPublisher publisher(data.filePath(QStringLiteral("mqtt")), connectionTo(refusing.port()));
        for (const MqttPass& pass : passes)
            publisher.publishPass(pass);
        ASSERT_TRUE(waitForStatus(publisher, [](const auto& status) { return !status.error.isEmpty(); }));
        EXPECT_EQ(publisher.status().error, QStringLiteral("server odmítl přihlášení"));
        ASSERT_TRUE(
            waitForStatus(publisher, [&](const auto& status) { return status.waiting == passes.size(); }));
        EXPECT_EQ(MqttPublisher::notice(publisher.status()),
                  QStringLiteral("MQTT: spojení ztraceno, 8 zpráv čeká"));
    }
    QTcpServer silent; // listens, never accepts: the kernel completes the connection, nobody answers
    ASSERT_TRUE(silent.listen(QHostAddress::LocalHost));
    EXPECT_EQ(MqttConnectionCheck::run(connectionTo(silent.serverPort()), 300),
              QStringLiteral("Spojení se nezdařilo: server neodpovídá"));
    MqttPublisher publisher(data.filePath(QStringLiteral("mqtt")), connectionTo(silent.serverPort()));
    publisher.publishPass(racePasses(3).last());
    ASSERT_TRUE(
        waitForStatus(publisher, [&](const auto& status) { return status.waiting == passes.size() + 1; }));
    EXPECT_FALSE(publisher.status().connected);
}

} // namespace

namespace {

// A TLS setting that does not match the port's listener is named, by the check and on the status bar,
// both ways round; the passes wait in the outbox meanwhile.
TEST_F(MqttPublisherTest, ATlsMismatchIsNamedAndThePassesWait) {
    const QString failed = QStringLiteral("Spojení se nezdařilo: ");
    const QString noTls = QStringLiteral("server neodpovídá přes TLS – zkontrolujte nastavení TLS a port");
    const QString needsTls = QStringLiteral(
        "server ukončil spojení bez odpovědi, zřejmě vyžaduje TLS – zkontrolujte nastavení TLS a port");
    MqttConnection tls = connectionTo(m_broker.port());
    tls.tls = true;
    EXPECT_EQ(MqttConnectionCheck::run(tls), failed + noTls);
    const QList<MqttPass> passes = racePasses(1);
    {
        MqttPublisher publisher(outboxFolder(), tls);
        for (const MqttPass& pass : passes)
            publisher.publishPass(pass);
        ASSERT_TRUE(waitForStatus(
            publisher, [](const auto& status) { return status.waiting == 4 && !status.error.isEmpty(); }));
        EXPECT_EQ(MqttPublisher::notice(publisher.status()),
                  QStringLiteral("MQTT: ") + noTls + "; 4 zpráv čeká");
    }

    MosquittoBroker tlsBroker(true, true);
    QString why;
    ASSERT_TRUE(tlsBroker.start(&why)) << why.toStdString();
    EXPECT_EQ(MqttConnectionCheck::run(connectionTo(tlsBroker.port())), failed + needsTls);
    MqttConnection untrusted = connectionTo(tlsBroker.port());
    untrusted.tls = true;
    EXPECT_EQ(MqttConnectionCheck::run(untrusted),
              failed + QStringLiteral("certifikát serveru není důvěryhodný (TLS)"));
    MqttPublisher publisher(outboxFolder(), connectionTo(tlsBroker.port()));
    ASSERT_TRUE(waitForStatus(publisher, [](const auto& status) { return status.tlsFault; }));
    EXPECT_EQ(MqttPublisher::notice(publisher.status()),
              QStringLiteral("MQTT: ") + needsTls + "; 4 zpráv čeká")
        << "the passes of before are still waiting";
}

} // namespace
