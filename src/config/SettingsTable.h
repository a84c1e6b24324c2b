#pragma once

#include "config/TSettings.h"

#include <QByteArray>
#include <QString>
#include <QStringView>

#include <optional>
#include <variant>
#include <vector>

class IniFile;

// The numbers a setting may take. Reading clamps a stored value into them and the settings window's
// number field offers exactly them.
struct SettingRange {
    int minimum;
    int maximum;
};

// How an int is kept in the file besides its decimal text.
enum class IntRule {
    Plain,
    LowByte,    // a mask of the eight data pins: read and written as its low 8 bits
    PortChoice, // a radio choice of three ports, 1..3: anything else stands for the first
};

// How a text is kept in the file.
enum class TextRule {
    Plain,
    Starred,   // behind a "*", so that a text may begin with blanks; reading drops the first character
               // of a stored value whatever it is, and an absent key gives the default whole
    Scrambled, // the FTP password: StrEncrypt, then Base64Encode
    FileName,  // a path of which only the file-name part is written
};

// One key of the settings file: where it lives, the TSettings field it fills, the value a missing
// key gives and the rule it is kept by. A default goes through the same rule and range as a stored
// value, so the stored default 10000 of HW/MazatCas becomes 120.
struct SettingKey {
    template <typename T> using Field = T& (*)(TSettings&);

    const char* section;
    const char* key; // spelled as a new file spells it; reading matches any letter case
    std::variant<Field<bool>, Field<int>, Field<QString>, Field<QByteArray>> field;
    int defaultNumber = 0;        // of a bool or an int
    const char* defaultText = ""; // of a text (UTF-8); learned bytes start empty
    IntRule intRule = IntRule::Plain;
    TextRule textRule = TextRule::Plain;
    std::optional<SettingRange> range;

    SettingKey(const char* section, const char* key, Field<bool> field, bool defaultValue)
        : section(section), key(key), field(field), defaultNumber(defaultValue) {}
    SettingKey(const char* section, const char* key, Field<int> field, int defaultValue,
               IntRule rule = IntRule::Plain)
        : section(section), key(key), field(field), defaultNumber(defaultValue), intRule(rule) {}
    SettingKey(const char* section, const char* key, Field<int> field, int defaultValue, SettingRange range)
        : section(section), key(key), field(field), defaultNumber(defaultValue), range(range) {}
    SettingKey(const char* section, const char* key, Field<QString> field, const char* defaultValue,
               TextRule rule = TextRule::Plain)
        : section(section), key(key), field(field), defaultText(defaultValue), textRule(rule) {}
    SettingKey(const char* section, const char* key, Field<QByteArray> field)
        : section(section), key(key), field(field) {}

    // Puts the value of a missing key into the field.
    void setDefault(TSettings& settings) const;
    // Reads the key into the field: its default when it is missing or no value of its type.
    void read(const IniFile& ini, TSettings& settings) const;
    // Writes the field under the key. A value outside the range is written as it is held: the window
    // never leaves one there, and a value set by other means survives a save.
    void write(IniFile& ini, const TSettings& settings) const;
};

// Every key of the settings file, in the order a new file lists them.
const std::vector<SettingKey>& settingsTable();

// The row of a section's key (letter case not mattering); null when the file has no such key.
const SettingKey* findSettingKey(QStringView section, QStringView key);

// The range of field, a member of settings; none when the key it belongs to has none.
std::optional<SettingRange> settingRange(const TSettings& settings, const int& field);

// The file-name part of a path, with "/" or "\" as separator.
QString fileNamePart(const QString& path);
