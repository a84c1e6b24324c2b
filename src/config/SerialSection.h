#pragma once

#include "config/SerialParameters.h"

class DataFolder;
class IniFile;

// The serial line's section of the settings file, named after the serial port object.
inline constexpr char16_t kSerialSectionName[] = u"ComPort1";

// Reads the section into parameters: a missing key keeps the current value, a value is matched
// against its list without regard to case (and stored in the list's spelling), and a value that
// matches nothing falls back to "9600", "1", "8", "None" or "Custom" (BaudRate, StopBits, DataBits,
// Parity, FlowControl). "CustomBaudRate" is read only when the rate is "Custom". The caller applies
// the result to the port as one change.
void ReadSerialSection(const IniFile& ini, SerialParameters& parameters);
// Writes the seven keys; "CustomBaudRate" only while the rate is "Custom" (otherwise it is removed).
void WriteSerialSection(IniFile& ini, const SerialParameters& parameters);

// The same against the settings file of the data folder. A missing file keeps every current value;
// a file that exists but cannot be read throws UserError "Failed to load settings". Writing keeps the
// rest of the file and throws UserError "Failed to store settings" when the file cannot be read or
// written; the old file then stays whole.
void ReadSerialSection(const DataFolder& folder, SerialParameters& parameters);
void WriteSerialSection(const DataFolder& folder, const SerialParameters& parameters);
