#include "publish/MqttOutbox.h"

#include <QDir>
#include <QFile>

#include <unistd.h>

namespace {

const QLatin1String outboxSuffix(".msg");
const QLatin1String partialSuffix(".part");
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
    const QString partialPath = path + partialSuffix;
    QFile file(partialPath);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    const QByteArray content = topic.toUtf8() + '\n' + payload;
    const bool written = file.write(content) == content.size() && file.flush() && ::fsync(file.handle()) == 0;
    file.close();
    if (!written || !QFile::rename(partialPath, path)) {
        QFile::remove(partialPath);
        return false;
    }
    m_last = sequence;
    m_sequences.insert(sequence);
    return true;
}

std::optional<MqttOutbox::Message> MqttOutbox::next(quint64 afterSequence) {
    for (auto it = m_sequences.upper_bound(afterSequence); it != m_sequences.end();) {
        const quint64 sequence = *it;
        QFile file(m_folder + QLatin1Char('/') + fileName(sequence));
        if (file.open(QIODevice::ReadOnly) && file.size() <= largestMessageFile) {
            const QByteArray content = file.readAll();
            const qsizetype newline = content.indexOf('\n');
            if (newline > 0)
                return Message{sequence, QString::fromUtf8(content.left(newline)), content.mid(newline + 1)};
        }
        file.close();
        QFile::remove(file.fileName());
        it = m_sequences.erase(it);
    }
    return std::nullopt;
}

void MqttOutbox::remove(quint64 sequence) {
    if (m_sequences.erase(sequence) > 0)
        QFile::remove(m_folder + QLatin1Char('/') + fileName(sequence));
}
