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

QStringList TextCodec::unencodable(const QString& text) {
    QStringList found;
    for (qsizetype i = 0; i < text.size();) {
        // One code point: a surrogate pair (an emoji) is one character to the operator.
        const qsizetype length = text.at(i).isHighSurrogate() && i + 1 < text.size() ? 2 : 1;
        const QString character = text.mid(i, length);
        i += length;
        // What comes back from the file is what the codec can hold; anything else came back as the
        // substitute.
        if (decode(encode(character)) != character && !found.contains(character))
            found << character;
    }
    return found;
}

QString TextCodec::unencodableHint(const QString& text) {
    const QStringList found = unencodable(text);
    if (found.isEmpty())
        return QString();
    QStringList quoted;
    for (const QString& character : found)
        quoted << QStringLiteral("\u201e%1\u201c").arg(character);
    return QStringLiteral("Znaky %1 nelze uložit: soubory stanice jsou v kódování windows-1250, které je "
                          "nezná, a místo nich by se uložily nesmyslné znaky. Nahraďte je podobnými "
                          "písmeny (například O místo Ø) nebo je vynechte.")
        .arg(quoted.join(QStringLiteral(", ")));
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
