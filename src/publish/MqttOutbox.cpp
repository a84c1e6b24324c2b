#include "publish/MqttOutbox.h"

#include "platform/DurableWrite.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

const QLatin1String outboxSuffix(".msg");
const QLatin1String partialSuffix(".part");
// A message file that cannot be read is renamed to this, out of the queue, for whoever looks.
const QLatin1String damagedSuffix(".bad");
// Far above any message the station makes; a bigger file is damage, not a message.
constexpr qint64 largestMessageFile = 16 * 1024 * 1024;

} // namespace

MqttOutbox::MqttOutbox(const QString& folder, int capacity) : m_folder(folder), m_capacity(capacity) {
    QDir dir(folder);
    dir.mkpath(QStringLiteral("."));
    const QStringList partial = dir.entryList({QStringLiteral("*") + partialSuffix}, QDir::Files);
    for (const QString& name : partial)
        dir.remove(name);
    const QStringList names = dir.entryList({QStringLiteral("*") + outboxSuffix}, QDir::Files);
    for (const QString& name : names) {
        bool ok = false;
        const quint64 sequence = name.left(name.size() - outboxSuffix.size()).toULongLong(&ok);
        if (ok && sequence > 0 && name == fileName(sequence))
            m_sequences.insert(sequence);
    }
    if (!m_sequences.empty())
        m_last = *m_sequences.rbegin();
}

QString MqttOutbox::fileName(quint64 sequence) {
    return QStringLiteral("%1").arg(sequence, 16, 10, QLatin1Char('0')) + outboxSuffix;
}

bool MqttOutbox::append(const QString& topic, const QByteArray& payload) {
    if (full())
        return false;
    const quint64 sequence = m_last + 1;
    const QString path = m_folder + QLatin1Char('/') + fileName(sequence);
    // Whole or not at all: a crash during the write leaves only a ".part" file, which the next start
    // removes, never a torn message in the queue.
    if (!DurableWrite::replaceFile(path, path + partialSuffix, topic.toUtf8() + '\n' + payload))
        return false;
    m_last = sequence;
    m_sequences.insert(sequence);
    return true;
}

std::optional<MqttOutbox::Message> MqttOutbox::next(quint64 afterSequence) {
    for (auto it = m_sequences.upper_bound(afterSequence); it != m_sequences.end();) {
        const quint64 sequence = *it;
        const QString path = m_folder + QLatin1Char('/') + fileName(sequence);
        // Only a regular file is opened: a FIFO or a device put in a message's place would block or
        // never end.
        const QFileInfo info(path);
        QFile file(path);
        if (info.isFile() && !info.isSymLink() && info.size() <= largestMessageFile &&
            file.open(QIODevice::ReadOnly)) {
            const QByteArray content = file.read(largestMessageFile + 1);
            const qsizetype newline = content.indexOf('\n');
            if (newline > 0 && content.size() <= largestMessageFile)
                return Message{sequence, QString::fromUtf8(content.left(newline)), content.mid(newline + 1)};
        }
        file.close();
        // Set aside once, not read again: one look per damaged file, and the queue goes on.
        if (!QFile::rename(path, path + damagedSuffix))
            QFile::remove(path);
        it = m_sequences.erase(it);
    }
    return std::nullopt;
}

void MqttOutbox::remove(quint64 sequence) {
    if (m_sequences.erase(sequence) > 0)
        QFile::remove(m_folder + QLatin1Char('/') + fileName(sequence));
}
