#pragma once

#include <QByteArray>
#include <QString>

// The FTP password is stored as Base64Encode(StrEncrypt(password bytes)): a 16-bit key stream over the
// bytes, then Base64, so the file never shows it in plain text. This hides it from a glance, nothing
// more.

// Output has the same length as the input; StrDecrypt(StrEncrypt(x)) == x for every byte string.
QByteArray StrEncrypt(const QByteArray& plain);
QByteArray StrDecrypt(const QByteArray& scrambled);

// Standard alphabet with "=" padding.
QString Base64Encode(const QByteArray& bytes);
// Never fails: characters outside the alphabet are skipped, the text ends at the first "=", and a
// last group of two or three characters gives one or two bytes (a lone character gives none).
QByteArray Base64Decode(const QString& text);
