#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

// The one text codec of the program: data files are 8-bit windows-1250 text with CR LF line ends.
class TextCodec {
public:
    static QString decode(const QByteArray& bytes);
    // Characters that windows-1250 cannot hold become the substitute byte 0x1A.
    static QByteArray encode(const QString& text);

    // The characters of text that windows-1250 cannot hold (each once, in the order they first
    // appear; a character outside the 16-bit range stays whole). Empty when the text can be stored.
    static QStringList unencodable(const QString& text);
    // A Czech hint naming those characters, for the operator before anything is stored; empty when
    // there are none.
    static QString unencodableHint(const QString& text);

    // Splits at CR LF, CR or LF. A missing line end after the last line adds no empty entry. Every
    // other byte, NUL included, belongs to its line: a file read and written back loses nothing.
    static QStringList splitLines(const QString& text);
    static QList<QByteArray> splitLines(const QByteArray& bytes);

    // Every line, the last one included, is followed by CR LF.
    static QString joinLines(const QStringList& lines);
    static QByteArray joinLines(const QList<QByteArray>& lines);

    // Shortcuts for whole files: bytes to lines and lines to bytes.
    static QStringList decodeLines(const QByteArray& bytes);
    static QByteArray encodeLines(const QStringList& lines);
};
