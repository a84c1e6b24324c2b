#pragma once

#include <QString>

// A text quoted in a message to the operator: a stray line of a file can be megabytes long, and a
// message box as tall as the screen helps nobody. Longer texts keep their start and end with "…".
inline QString shortenedForMessage(const QString& text, qsizetype limit = 60) {
    if (text.size() <= limit)
        return text;
    const qsizetype half = (limit - 1) / 2;
    return text.left(half) + QChar(0x2026) + text.right(half);
}
