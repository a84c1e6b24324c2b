#include "hardware/SerialRxText.h"

namespace SerialRxText {

char charOfByte(quint8 byte) {
    if (byte < 0x20)
        return static_cast<char>(byte + 0x20);
    if (byte < 0x80)
        return static_cast<char>(byte);
    return static_cast<char>(byte - 0x5F);
}

QByteArray fromBytes(const QByteArray& bytes) {
    QByteArray text;
    text.reserve(bytes.size());
    for (const char byte : bytes)
        text.append(charOfByte(static_cast<quint8>(byte)));
    return text;
}

} // namespace SerialRxText
