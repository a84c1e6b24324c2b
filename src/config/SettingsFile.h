#pragma once

#include "config/SerialParameters.h"
#include "config/SettingsHooks.h"
#include "config/TSettings.h"

#include <QString>

class DataFolder;
class IniFile;

// "tarvolin.ini" in the data folder, in whatever letter case it already has there.
QString SettingsFilePath(const DataFolder& folder);

// Fills settings from the settings file, at the main window's first activation: first the section
// "ComPort1" into serial (then hooks.applySerialParameters), then every key with its default and
// range, then the logo and the sound file (their hooks). A missing or unreadable file gives the
// defaults; nothing is reported.
void ReadSettingsFile(const DataFolder& folder, TSettings& settings, SerialParameters& serial,
                      const SettingsHooks& hooks = {});

// ReadSettingsFile in the two halves the main window's first activation needs, with the parallel
// port opened between them: the section "ComPort1" and every key (hooks.applySerialParameters), then
// the logo and the sound file (hooks.logoLoaded or hooks.logoUnavailable, hooks.selectSoundFile).
void ReadSettingsFileKeys(const DataFolder& folder, TSettings& settings, SerialParameters& serial,
                          const SettingsHooks& hooks = {});
void FinishReadingSettingsFile(const DataFolder& folder, TSettings& settings,
                               const SettingsHooks& hooks = {});

// The two keys the main window applies on its own when it is created: Ostatni/OnTop, Ostatni/Priorita.
void ReadWindowCreationSettings(const DataFolder& folder, TSettings& settings);

// Writes every key from settings (OK of the settings window) and applies what takes effect on saving,
// in this order: hooks.abortFtpTransfer, hooks.closeSerialPort, the file (with Ftp/Heslo emptied in
// settings first when Ftp/Hesla is set), hooks.applyExternalStart, hooks.applyProcessPriority,
// hooks.onTopChanged when Ostatni/OnTop differs from onTopAtActivation, hooks.writeRestingValue.
// Other sections of the file ("ComPort1" among them) are kept. When the file cannot be written, it
// throws UserError "Unable to write to <full path>", the old file stays whole and the later steps
// are skipped.
void WriteSettingsFile(const DataFolder& folder, TSettings& settings, bool onTopAtActivation,
                       const SettingsHooks& hooks = {});

// One key of the settings table (section and key as the table spells them) from settings into the
// settings file, for what the program remembers on its own; the file's other keys stay as they are.
// Throws UserError "Unable to write to <full path>" when the file cannot be read or written; the old
// file stays whole.
void WriteSettingsKey(const DataFolder& folder, const TSettings& settings, const char* section,
                      const char* key);

// The key-level halves, for tests and tools: every row of the settings table (SettingsTable.h), in its
// order; no files, no hooks.
void ReadSettingsKeys(const IniFile& ini, TSettings& settings);
void WriteSettingsKeys(IniFile& ini, const TSettings& settings);
