#pragma once

#include "config/SerialParameters.h"

#include <QStringList>

// The fixed value lists of the serial line's parameters (section "ComPort1") and their matching
// without regard to letter case. The settings file, the serial port and the settings window share them.
namespace SerialValueLists {

const QStringList& baudRates();    // "Custom", "110" .. "256000"
const QStringList& stopBits();     // "1", "1.5", "2"
const QStringList& dataBits();     // "5" .. "8"
const QStringList& parities();     // "None", "Odd", "Even", "Mark", "Space"
const QStringList& flowControls(); // "Hardware", "Software", "None", "Custom"

// The list entry equal to value without regard to letter case, or fallback when none is.
QString match(const QStringList& list, const QString& value, const QString& fallback);

// Every value matched against its list; unknown values fall back to "9600", "1", "8", "None" and
// "Custom". The port name is kept as it is.
SerialParameters normalized(const SerialParameters& parameters);

} // namespace SerialValueLists
