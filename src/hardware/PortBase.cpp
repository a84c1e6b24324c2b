#include "hardware/PortBase.h"

#include "base/UserError.h"

quint16 PortBase::fromChoice(int choice, const QString& hexText) {
    switch (choice) {
    case ChoiceLpt2:
        return Lpt2;
    case ChoiceHex:
        return fromHexText(hexText);
    default:
        return Lpt1;
    }
}

quint16 PortBase::fromHexText(const QString& text) {
    qsizetype start = 0;
    while (start < text.size() && text.at(start) == QLatin1Char(' '))
        ++start;
    const QString digits = text.mid(start);
    quint64 value = 0;
    bool valid = !digits.isEmpty();
    for (const QChar c : digits) {
        const char16_t u = c.unicode();
        int digit = -1;
        if (u >= u'0' && u <= u'9')
            digit = u - u'0';
        else if (u >= u'a' && u <= u'f')
            digit = u - u'a' + 10;
        else if (u >= u'A' && u <= u'F')
            digit = u - u'A' + 10;
        value = value * 16 + quint64(digit);
        if (digit < 0 || value > 0xFFFFFFFFull) {
            valid = false;
            break;
        }
    }
    if (!valid)
        throw ConversionError(QStringLiteral("$") + text);
    return quint16(value & 0xFFFF);
}
