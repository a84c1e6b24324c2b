#include "config/TextCodec.h"

#include <QStringDecoder>
#include <QStringEncoder>

namespace {

constexpr const char* kEncoding = "windows-1250";

// One splitter for both text and bytes, so the two can never disagree about line ends.
template <typename Text, typename Char> QList<Text> splitAtLineEnds(const Text& text, Char cr, Char lf) {
    QList<Text> lines;
    qsizetype start = 0;
    qsizetype i = 0;
    const qsizetype size = text.size();
    for (; i < size; ++i) {
        const auto c = text.at(i);
        if (c == cr || c == lf) {
            lines.append(text.mid(start, i - start));
            if (c == cr && i + 1 < size && text.at(i + 1) == lf)
                ++i;
            start = i + 1;
        }
    }
    if (i > start)
        lines.append(text.mid(start, i - start));
    return lines;
}

} // namespace

QString TextCodec::decode(const QByteArray& bytes) {
    QStringDecoder decoder(kEncoding);
    return decoder.decode(bytes);
}

QByteArray TextCodec::encode(const QString& text) {
    QStringEncoder encoder(kEncoding);
    return encoder.encode(text);
}

QStringList TextCodec::splitLines(const QString& text) {
    return splitAtLineEnds(text, QChar(u'\r'), QChar(u'\n'));
}

QList<QByteArray> TextCodec::splitLines(const QByteArray& bytes) {
    return splitAtLineEnds(bytes, '\r', '\n');
}

QString TextCodec::joinLines(const QStringList& lines) {
    QString text;
    for (const QString& line : lines)
        text += line + QStringLiteral("\r\n");
    return text;
}

QByteArray TextCodec::joinLines(const QList<QByteArray>& lines) {
    QByteArray bytes;
    for (const QByteArray& line : lines) {
        bytes += line;
        bytes += "\r\n";
    }
    return bytes;
}

QStringList TextCodec::decodeLines(const QByteArray& bytes) {
    QStringList lines;
    for (const QByteArray& line : splitLines(bytes))
        lines.append(decode(line));
    return lines;
}

QByteArray TextCodec::encodeLines(const QStringList& lines) {
    return encode(joinLines(lines));
}
