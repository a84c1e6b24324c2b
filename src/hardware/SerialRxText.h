#pragma once

#include <QByteArray>

// The text a receive event makes of its bytes: one single-byte character per byte, folded into the
// printable range so that learned bursts can be shown and stored in the settings file. The folding is
// not one-to-one (0x01, 0x21 and 0x80 all give '!').
namespace SerialRxText {

char charOfByte(quint8 byte);
QByteArray fromBytes(const QByteArray& bytes);

} // namespace SerialRxText
