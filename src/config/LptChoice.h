#pragma once

#include <QString>
#include <QtGlobal>

// The parallel port choices of the settings window: 1 LPT1, 2 LPT2, 3 the port at a hexadecimal base.
namespace LptChoice {

constexpr quint16 Lpt1Base = 888; // hex 378
constexpr quint16 Lpt2Base = 632; // hex 278

// The base of a choice; the third takes the low 16 bits of hexText and throws ConversionError
// (showing the text with a leading "$") when it is not hexadecimal.
quint16 baseOf(int choice, const QString& hexText);

} // namespace LptChoice
