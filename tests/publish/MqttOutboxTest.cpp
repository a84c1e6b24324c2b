#include "publish/MqttOutbox.h"
#include "publish/MqttMessages.h"

#include "TempDataFolder.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

#include <sys/stat.h>

namespace {

TEST(MqttOutbox, KeepsMessagesInOrderAcrossARestartWithinItsBound) {
    TempDataFolder data;
    const QString folder = data.filePath(QStringLiteral("mqtt"));
    {
        MqttOutbox outbox(folder, 3);
        EXPECT_TRUE(outbox.append(QStringLiteral("t/a/pass"), "{\"n\":1}"));
        EXPECT_TRUE(outbox.append(QStringLiteral("t/a/pass"), "{\"n\":2}\n"));
        EXPECT_TRUE(outbox.append(QStringLiteral("t/a/result"), "{\"n\":3}"));
        EXPECT_TRUE(outbox.full());
        EXPECT_FALSE(outbox.append(QStringLiteral("t/a/pass"), "{\"n\":4}")) << "the bound is kept";
        outbox.remove(1);
    }
    // The format on disk: topic, newline, payload, one file per message named by its sequence.
    EXPECT_EQ(QDir(folder).entryList(QDir::Files),
              QStringList({MqttOutbox::fileName(2), MqttOutbox::fileName(3)}));
    EXPECT_EQ(data.readFile(QStringLiteral("mqtt/0000000000000002.msg")),
              QByteArray("t/a/pass\n{\"n\":2}\n"));
    // A crash's half-written file, a damaged one and a FIFO in a message's place (which would block a
    // read) do not hold the queue up.
    data.writeFile(QStringLiteral("mqtt/0000000000000004.msg.part"), "t/a/pass\n{");
    data.writeFile(QStringLiteral("mqtt/") + MqttOutbox::fileName(3), "no newline");
    ASSERT_EQ(
        ::mkfifo(
            QFile::encodeName(data.filePath(QStringLiteral("mqtt/") + MqttOutbox::fileName(1))).constData(),
            0644),
        0);

    MqttOutbox reopened(folder, 3);
    EXPECT_EQ(reopened.size(), 2);
    const auto first = reopened.next(0);
    ASSERT_TRUE(first);
    EXPECT_EQ(first->sequence, 2u);
    EXPECT_EQ(first->topic, QStringLiteral("t/a/pass"));
    EXPECT_EQ(first->payload, QByteArray("{\"n\":2}\n"));
    EXPECT_FALSE(reopened.next(2)) << "the damaged message is dropped";
    EXPECT_EQ(reopened.size(), 1);
    EXPECT_EQ(data.readFile(QStringLiteral("mqtt/0000000000000003.msg.bad")), QByteArray("no newline"))
        << "set aside, not lost";
    EXPECT_TRUE(reopened.append(QStringLiteral("t/a/pass"), "{\"n\":5}"));
    const auto after = reopened.next(2);
    ASSERT_TRUE(after);
    EXPECT_EQ(after->sequence, 4u) << "numbers go on after the last one kept";
    EXPECT_FALSE(data.exists(QStringLiteral("mqtt/0000000000000004.msg.part")));
}

} // namespace

// The operator's track name becomes one topic level of the shape the hub takes: no "/", "+" or "#"
// that would split or widen the topics, no letters with diacritics.
TEST(MqttMessages, ATrackNameBecomesOneSafeTopicLevel) {
    EXPECT_EQ(MqttMessages::trackId(QStringLiteral("Trať Brno/1 #+")), QStringLiteral("Trat-Brno-1---"));
    EXPECT_EQ(MqttMessages::trackId(QStringLiteral("kartarena_2.hala")), QStringLiteral("kartarena_2.hala"));
    EXPECT_EQ(MqttMessages::trackId(QString()), QStringLiteral("trat"));
    EXPECT_EQ(MqttMessages::trackId(QString(40, u'x')).size(), 32);
}
