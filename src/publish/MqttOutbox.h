#pragma once

#include <QByteArray>
#include <QString>
#include <QtGlobal>

#include <optional>
#include <set>

// The messages that must reach the broker, kept on disk until it acknowledged them: one file per
// message in a folder of its own, named by a rising sequence number, so that a crash, an outage or a
// restart sends them again in the order they were made. A file holds the topic on its first line and
// the payload after it. The folder holds at most `capacity` messages: a further one is refused, and
// the owner tells the operator.
class MqttOutbox {
public:
    static constexpr int DefaultCapacity = 100000;

    struct Message {
        quint64 sequence = 0;
        QString topic;
        QByteArray payload;
    };

    // Reads the folder's waiting messages (creating the folder when missing). Half-written files of a
    // crash are removed; files of other names are left alone.
    explicit MqttOutbox(const QString& folder, int capacity = DefaultCapacity);

    // Durable on disk, whole, when it returns true; false when the outbox is full or the disk refused.
    bool append(const QString& topic, const QByteArray& payload);
    // The waiting message after `sequence` (0: the first), in order; none when there is no further one.
    // A message file that cannot be read (no topic line, too big, not a regular file) is renamed to
    // "….msg.bad" and skipped, so that it cannot hold the queue up.
    std::optional<Message> next(quint64 afterSequence);
    // The broker has it.
    void remove(quint64 sequence);

    int size() const { return static_cast<int>(m_sequences.size()); }
    bool full() const { return size() >= m_capacity; }
    QString folder() const { return m_folder; }

    // The file name of a sequence number (fixed width, so that names sort as numbers do).
    static QString fileName(quint64 sequence);

private:
    QString m_folder;
    int m_capacity;
    std::set<quint64> m_sequences;
    quint64 m_last = 0;
};
