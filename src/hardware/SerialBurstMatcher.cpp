#include "hardware/SerialBurstMatcher.h"

#include <QByteArrayView>

QByteArrayList SerialBurstMatcher::feed(const QByteArray& text, const QByteArrayList& sequences) {
    m_held.append(text);
    return scan(sequences, true);
}

QByteArrayList SerialBurstMatcher::settle(const QByteArrayList& sequences) {
    return scan(sequences, false);
}

QByteArrayList SerialBurstMatcher::scan(const QByteArrayList& sequences, bool more) {
    QByteArrayList found;
    qsizetype pos = 0;
    while (pos < m_held.size()) {
        const QByteArrayView rest = QByteArrayView(m_held).sliced(pos);
        qsizetype longest = 0;
        bool mayGrow = false;
        for (const QByteArray& sequence : sequences) {
            if (sequence.isEmpty())
                continue;
            if (rest.startsWith(sequence))
                longest = qMax(longest, sequence.size());
            else if (more && sequence.startsWith(rest))
                mayGrow = true;
        }
        if (mayGrow)
            break;
        if (longest > 0) {
            found.append(rest.first(longest).toByteArray());
            pos += longest;
        } else {
            ++pos;
        }
    }
    m_held.remove(0, pos);
    return found;
}
