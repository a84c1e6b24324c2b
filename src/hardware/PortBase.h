#pragma once

#include <QString>
#include <QtGlobal>

// The I/O address of the chosen parallel port, from a port choice: LPT1, LPT2, or a hexadecimal text
// of which the low 16 bits are used.
class PortBase {
public:
    static constexpr quint16 Lpt1 = 888; // hex 378
    static constexpr quint16 Lpt2 = 632; // hex 278
    static constexpr int ChoiceLpt1 = 1;
    static constexpr int ChoiceLpt2 = 2;
    static constexpr int ChoiceHex = 3;

    // 1 → 888, 2 → 632, 3 → fromHexText(hexText); any other choice is taken as LPT1.
    static quint16 fromChoice(int choice, const QString& hexText);

    // "DC00" and "1DC00" both give 0xDC00. Leading blanks are skipped; anything else that is not a
    // hexadecimal number of at most 32 bits throws ConversionError for "$" + text.
    static quint16 fromHexText(const QString& text);
};
