#include "config/PasswordScrambling.h"

namespace {

constexpr quint16 kStartKey = 7846;
constexpr quint32 kKeyMultiplier = 30817;
constexpr quint32 kKeyAddend = 16453;

// Both directions advance the key with the scrambled byte; that is what makes them inverse.
quint16 nextKey(quint16 key, quint8 scrambled) {
    return quint16(kKeyAddend - (quint32(key) + scrambled) * kKeyMultiplier);
}

const char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

int alphabetIndex(char16_t c) {
    if (c >= u'A' && c <= u'Z')
        return c - u'A';
    if (c >= u'a' && c <= u'z')
        return c - u'a' + 26;
    if (c >= u'0' && c <= u'9')
        return c - u'0' + 52;
    if (c == u'+')
        return 62;
    if (c == u'/')
        return 63;
    return -1;
}

} // namespace

QByteArray StrEncrypt(const QByteArray& plain) {
    QByteArray out(plain.size(), Qt::Uninitialized);
    quint16 key = kStartKey;
    for (qsizetype i = 0; i < plain.size(); ++i) {
        const quint8 scrambled = quint8(plain.at(i)) ^ quint8(key >> 8);
        out[i] = char(scrambled);
        key = nextKey(key, scrambled);
    }
    return out;
}

QByteArray StrDecrypt(const QByteArray& scrambled) {
    QByteArray out(scrambled.size(), Qt::Uninitialized);
    quint16 key = kStartKey;
    for (qsizetype i = 0; i < scrambled.size(); ++i) {
        const quint8 in = quint8(scrambled.at(i));
        out[i] = char(in ^ quint8(key >> 8));
        key = nextKey(key, in);
    }
    return out;
}

QString Base64Encode(const QByteArray& bytes) {
    QString text;
    text.reserve((bytes.size() + 2) / 3 * 4);
    for (qsizetype i = 0; i < bytes.size(); i += 3) {
        const qsizetype count = qMin<qsizetype>(3, bytes.size() - i);
        quint32 group = quint32(quint8(bytes.at(i))) << 16;
        if (count > 1)
            group |= quint32(quint8(bytes.at(i + 1))) << 8;
        if (count > 2)
            group |= quint32(quint8(bytes.at(i + 2)));
        for (int k = 0; k < 4; ++k) {
            if (k > count)
                text += QLatin1Char('=');
            else
                text += QLatin1Char(kAlphabet[(group >> (18 - 6 * k)) & 0x3F]);
        }
    }
    return text;
}

QByteArray Base64Decode(const QString& text) {
    QByteArray out;
    quint32 group = 0;
    int filled = 0;
    for (const QChar c : text) {
        if (c == QLatin1Char('='))
            break;
        const int index = alphabetIndex(c.unicode());
        if (index < 0)
            continue;
        group = (group << 6) | quint32(index);
        if (++filled == 4) {
            out += char(group >> 16);
            out += char(group >> 8);
            out += char(group);
            group = 0;
            filled = 0;
        }
    }
    if (filled == 2) {
        out += char(group >> 4);
    } else if (filled == 3) {
        out += char(group >> 10);
        out += char(group >> 2);
    }
    return out;
}
