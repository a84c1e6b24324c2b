#pragma once

#include <QByteArray>
#include <QByteArrayList>

// Finds learned sequences in the text of the serial bytes as they come in, whatever the reads are
// cut like: a burst split over several reads counts once, and bursts read together count each.
//
// The text is scanned from its oldest byte. Where a learned sequence begins, the longest one found
// there is taken and its bytes are used up; a byte where none begins is dropped. Only the tail that
// could still grow into a sequence is held, so what is held is always shorter than the longest
// learned sequence. A tail that is a whole sequence but also the start of a longer one is held as
// well, until the next bytes or the quiet of the line (settle) tell which of them was sent.
class SerialBurstMatcher {
public:
    // Adds text and returns the sequences found, oldest first. Empty sequences are ignored.
    QByteArrayList feed(const QByteArray& text, const QByteArrayList& sequences);
    // Nothing more is coming: finds what the held tail contains and holds nothing after it.
    QByteArrayList settle(const QByteArrayList& sequences);
    void clear() { m_held.clear(); }

    bool holding() const { return !m_held.isEmpty(); }
    const QByteArray& held() const { return m_held; }

private:
    QByteArrayList scan(const QByteArrayList& sequences, bool more);

    QByteArray m_held;
};
