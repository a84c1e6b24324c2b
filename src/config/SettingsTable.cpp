#include "config/SettingsTable.h"

#include "config/IniFile.h"
#include "config/PasswordScrambling.h"
#include "config/TextCodec.h"

#include <QFileInfo>

#include <algorithm>

// clang-format off
// The TSettings field a row fills, as a plain function so that a row needs no instance to point into.
#define FIELD(member) +[](TSettings& s) -> auto& { return s.member; }

const std::vector<SettingKey>& settingsTable() {
    using Range = SettingRange;
    const char* const kThanks = "Děkujeme Vám za vaši návštěvu.";
    // A function's own table, so that a TSettings built before main() finds it complete.
    static const std::vector<SettingKey> rows = {
        {"Po spusteni", "Port",         FIELD(PoSpusteni.Port),      1, IntRule::PortChoice},
        {"Po spusteni", "Base",         FIELD(PoSpusteni.Base),      0, IntRule::LowByte},
        {"Po spusteni", "Base1",        FIELD(PoSpusteni.Base1),     "DC00"},
        {"Po spusteni", "Start",        FIELD(PoSpusteni.START),     false},
        {"Po spusteni", "LPT",          FIELD(PoSpusteni.LPT),       true},
        {"Po spusteni", "COM",          FIELD(PoSpusteni.COM),       false},

        {"Semafor",     "Pouzij",       FIELD(Semafor.Pouzij),       true},
        {"Semafor",     "Port",         FIELD(Semafor.Port),         1, IntRule::PortChoice},
        {"Semafor",     "Prodleva",     FIELD(Semafor.Prodleva),     1, Range{1, 10}},
        {"Semafor",     "Zelena",       FIELD(Semafor.Zelena),       0, IntRule::LowByte},
        {"Semafor",     "Oranzova",     FIELD(Semafor.Oranzova),     0, IntRule::LowByte},
        {"Semafor",     "Cervena",      FIELD(Semafor.Cervena),      0, IntRule::LowByte},

        {"Ostatni",     "OnTop",        FIELD(Ostatni.OnTop),        false},
        {"Ostatni",     "ExtStart",     FIELD(Ostatni.ExtStart),     false},
        {"Ostatni",     "PrvniKolo",    FIELD(Ostatni.PrvniKolo),    false},
        {"Ostatni",     "Priorita",     FIELD(Ostatni.Priorita),     0}, // 0..3; other values change nothing
        {"Ostatni",     "UlozitZavody", FIELD(Ostatni.UlozitZavody), true},

        {"Zvuk",        "Hrat",         FIELD(Zvuk.Hrat),            false},
        {"Zvuk",        "Applaus",      FIELD(Zvuk.Applaus),         false},
        {"Zvuk",        "Jmeno",        FIELD(Zvuk.jmeno),           "success.wav", TextRule::FileName},

        {"Trat",        "delka",        FIELD(Trat.delka),           1, Range{1, 99999}},

        {"HW",          "Rizeni",       FIELD(HW.Rizeni),            true},
        {"HW",          "Negace",       FIELD(HW.Negace),            true},
        {"HW",          "LOG0",         FIELD(HW.LOG0),              150, Range{10, 5000}},
        {"HW",          "LOG1",         FIELD(HW.LOG1),              150, Range{10, 5000}},
        {"HW",          "Chyba1",       FIELD(HW.Chyba[0]),          0, Range{0, 59000}},
        {"HW",          "Chyba2",       FIELD(HW.Chyba[1]),          0, Range{0, 59000}},
        {"HW",          "Chyba3",       FIELD(HW.Chyba[2]),          0, Range{0, 59000}},
        {"HW",          "Chyba4",       FIELD(HW.Chyba[3]),          0, Range{0, 59000}},
        {"HW",          "Prodleva",     FIELD(HW.Prodleva),          2000, Range{500, 59000}},
        {"HW",          "Mazat",        FIELD(HW.Mazat),             false},
        {"HW",          "MazatCas",     FIELD(HW.MazatCas),          10000, Range{1, 120}}, // the default reads as 120

        {"TVOUT",       "Pouzit",       FIELD(TVOUT.Pouzit),         false},
        {"TVOUT",       "Form",         FIELD(TVOUT.Form),           true},
        {"TVOUT",       "TypZobrazeni", FIELD(TVOUT.TypZobrazeni),   1, Range{0, 1}},
        {"TVOUT",       "Poloha",       FIELD(TVOUT.Poloha),         ""},

        {"Tisk",        "Logo",         FIELD(Tisk.Logo),            ""},
        {"Tisk",        "Velikost",     FIELD(Tisk.Velikost),        50, Range{10, 100}},
        {"Tisk",        "Centrovat",    FIELD(Tisk.Centrovat),       true},
        {"Tisk",        "Text1",        FIELD(Tisk.Text[0]),         "", TextRule::Starred},
        {"Tisk",        "Text2",        FIELD(Tisk.Text[1]),         "", TextRule::Starred},
        {"Tisk",        "Text3",        FIELD(Tisk.Text[2]),         "", TextRule::Starred},
        {"Tisk",        "Text4",        FIELD(Tisk.Text[3]),         "", TextRule::Starred},
        {"Tisk",        "Text5",        FIELD(Tisk.Text[4]),         "", TextRule::Starred},
        {"Tisk",        "Text6",        FIELD(Tisk.Text[5]),         kThanks, TextRule::Starred},
        {"Tisk",        "Text7",        FIELD(Tisk.Text[6]),         "", TextRule::Starred},
        {"Tisk",        "Text8",        FIELD(Tisk.Text[7]),         "", TextRule::Starred},

        {"Ftp",         "Hostitel",     FIELD(Ftp.Hostitel),         ""},
        {"Ftp",         "Jmeno",        FIELD(Ftp.Jmeno),            ""},
        {"Ftp",         "Heslo",        FIELD(Ftp.Heslo),            "", TextRule::Scrambled},
        {"Ftp",         "Hesla",        FIELD(Ftp.Hesla),            true},
        {"Ftp",         "1",            FIELD(Ftp.Posilat[0]),       false},
        {"Ftp",         "2",            FIELD(Ftp.Posilat[1]),       false},
        {"Ftp",         "3",            FIELD(Ftp.Posilat[2]),       false},
        {"Ftp",         "4",            FIELD(Ftp.Posilat[3]),       false},
        {"Ftp",         "5",            FIELD(Ftp.Posilat[4]),       false},
        {"Ftp",         "Soubor1",      FIELD(Ftp.Soubor[0]),        ""},
        {"Ftp",         "Soubor2",      FIELD(Ftp.Soubor[1]),        ""},
        {"Ftp",         "Soubor3",      FIELD(Ftp.Soubor[2]),        ""},
        {"Ftp",         "Soubor4",      FIELD(Ftp.Soubor[3]),        ""},
        {"Ftp",         "FtpAdr1",      FIELD(Ftp.FtpAdr[0]),        ""},
        {"Ftp",         "FtpAdr2",      FIELD(Ftp.FtpAdr[1]),        ""},
        {"Ftp",         "FtpAdr3",      FIELD(Ftp.FtpAdr[2]),        ""},
        {"Ftp",         "FtpAdr4",      FIELD(Ftp.FtpAdr[3]),        ""},
        {"Ftp",         "Pasivni",      FIELD(Ftp.Pasivni),          false},
        {"Ftp",         "TLS",          FIELD(Ftp.TLS),              false},

        // Slots run 1A, 1B, 2A, ... (TSettings::sequenceSlot); the file lists every first sequence first.
        {"Com",         "Sekvence1",    FIELD(Com.Sekvence[0])},
        {"Com",         "Sekvence2",    FIELD(Com.Sekvence[2])},
        {"Com",         "Sekvence3",    FIELD(Com.Sekvence[4])},
        {"Com",         "Sekvence4",    FIELD(Com.Sekvence[6])},
        {"Com",         "Sekvence11",   FIELD(Com.Sekvence[1])},
        {"Com",         "Sekvence21",   FIELD(Com.Sekvence[3])},
        {"Com",         "Sekvence31",   FIELD(Com.Sekvence[5])},
        {"Com",         "Sekvence41",   FIELD(Com.Sekvence[7])},
        {"Com",         "RTS",          FIELD(Com.RTS),              false},
        {"Com",         "DTR",          FIELD(Com.DTR),              false},

        {"Web",         "Pouzit",       FIELD(Web.Pouzit),           false},
        {"Web",         "Port",         FIELD(Web.Port),             8080, Range{1, 65535}},

        {"Zavod",       "Dojeti",       FIELD(Zavod.Dojeti),         false},
        {"Zavod",       "Limit",        FIELD(Zavod.Limit),          120, Range{10, 3600}},
        {"Zavod",       "Tisk",         FIELD(Zavod.Tisk),           false},
        {"Zavod",       "VymazatJmena", FIELD(Zavod.VymazatJmena),   true},

        {"Hlas",        "Pouzit",       FIELD(Hlas.Pouzit),          false},
        {"Hlas",        "Co",           FIELD(Hlas.Co),              0, Range{0, 2}},
        {"Hlas",        "Karty",        FIELD(Hlas.Karty),           15, Range{0, 15}},
        {"Hlas",        "Konec",        FIELD(Hlas.Konec),           true},
        {"Hlas",        "Hlasitost",    FIELD(Hlas.Hlasitost),       80, Range{0, 100}},
        {"Hlas",        "Rychlost",     FIELD(Hlas.Rychlost),        170, Range{80, 450}},
        {"MQTT",        "Pouzit",       FIELD(MQTT.Pouzit),          false},
        {"MQTT",        "Server",       FIELD(MQTT.Server),          "localhost"},
        {"MQTT",        "Port",         FIELD(MQTT.Port),            1883, Range{1, 65535}},
        {"MQTT",        "Trat",         FIELD(MQTT.Trat),            ""},
        {"MQTT",        "Predpona",     FIELD(MQTT.Predpona),        "tarvolin"},
        {"MQTT",        "Uzivatel",     FIELD(MQTT.Uzivatel),        ""},
        {"MQTT",        "Heslo",        FIELD(MQTT.Heslo),           "", TextRule::Scrambled},
        {"MQTT",        "TLS",          FIELD(MQTT.TLS),             false},
    };
    return rows;
}

#undef FIELD
// clang-format on

namespace {

// Overloaded lambdas for std::visit.
template <typename... Ts> struct Overloaded : Ts... { using Ts::operator()...; };
template <typename... Ts> Overloaded(Ts...) -> Overloaded<Ts...>;

bool sameName(QStringView a, const char* b) {
    return a.compare(QLatin1String(b), Qt::CaseInsensitive) == 0;
}

} // namespace

const SettingKey* findSettingKey(QStringView section, QStringView key) {
    for (const SettingKey& setting : settingsTable()) {
        if (sameName(section, setting.section) && sameName(key, setting.key))
            return &setting;
    }
    return nullptr;
}

std::optional<SettingRange> settingRange(const TSettings& settings, const int& field) {
    // Only the address is taken; nothing is written through the non-const path.
    auto& fields = const_cast<TSettings&>(settings);
    for (const SettingKey& setting : settingsTable()) {
        const auto* of = std::get_if<SettingKey::Field<int>>(&setting.field);
        if (of && &(*of)(fields) == &field)
            return setting.range;
    }
    return std::nullopt;
}

QString fileNamePart(const QString& path) {
    QString name = path;
    name.replace(QLatin1Char('\\'), QLatin1Char('/'));
    return QFileInfo(name).fileName();
}

namespace {

// An empty default is a null text, as a default-constructed QString is.
QString defaultTextOf(const SettingKey& setting) {
    return *setting.defaultText ? QString::fromUtf8(setting.defaultText) : QString();
}

QByteArray defaultBytesOf(const SettingKey& setting) {
    return *setting.defaultText ? QByteArray(setting.defaultText) : QByteArray();
}

// An int as the field holds it after reading: clamped into its range, or by its rule.
int loaded(const SettingKey& setting, int value) {
    if (setting.range)
        return std::clamp(value, setting.range->minimum, setting.range->maximum);
    switch (setting.intRule) {
    case IntRule::LowByte:
        return value & 0xFF;
    case IntRule::PortChoice:
        return value == 2 || value == 3 ? value : 1;
    case IntRule::Plain:
        break;
    }
    return value;
}

// An int as the file holds it.
int stored(const SettingKey& setting, int value) {
    return setting.intRule == IntRule::Plain ? value : loaded(setting, value);
}

// A stored text as the field holds it.
QString loadedText(const SettingKey& setting, const QByteArray& value) {
    switch (setting.textRule) {
    case TextRule::Starred:
        return TextCodec::decode(value.mid(1));
    case TextRule::Scrambled:
        return TextCodec::decode(StrDecrypt(Base64Decode(TextCodec::decode(value))));
    case TextRule::Plain:
    case TextRule::FileName:
        break;
    }
    return TextCodec::decode(value);
}

// A text as the file holds it.
QString storedText(const SettingKey& setting, const QString& text) {
    switch (setting.textRule) {
    case TextRule::Starred:
        return QLatin1Char('*') + text;
    case TextRule::Scrambled:
        return Base64Encode(StrEncrypt(TextCodec::encode(text)));
    case TextRule::FileName:
        return fileNamePart(text);
    case TextRule::Plain:
        break;
    }
    return text;
}

} // namespace

void SettingKey::setDefault(TSettings& settings) const {
    std::visit(Overloaded{
                   [&](Field<bool> of) { of(settings) = defaultNumber != 0; },
                   [&](Field<int> of) { of(settings) = loaded(*this, defaultNumber); },
                   [&](Field<QString> of) { of(settings) = defaultTextOf(*this); },
                   [&](Field<QByteArray> of) { of(settings) = defaultBytesOf(*this); },
               },
               field);
}

void SettingKey::read(const IniFile& ini, TSettings& settings) const {
    const QString sectionName = QLatin1String(section);
    const QString keyName = QLatin1String(key);
    std::visit(
        Overloaded{
            [&](Field<bool> of) { of(settings) = ini.readBool(sectionName, keyName, defaultNumber != 0); },
            [&](Field<int> of) {
                of(settings) = loaded(*this, ini.readInt(sectionName, keyName, defaultNumber));
            },
            [&](Field<QString> of) {
                const std::optional<QByteArray> value = ini.value(sectionName, keyName);
                of(settings) = value ? loadedText(*this, *value) : defaultTextOf(*this);
            },
            [&](Field<QByteArray> of) {
                of(settings) = ini.readBytes(sectionName, keyName, defaultBytesOf(*this));
            },
        },
        field);
}

void SettingKey::write(IniFile& ini, const TSettings& settings) const {
    // The fields are only read here.
    auto& from = const_cast<TSettings&>(settings);
    const QString sectionName = QLatin1String(section);
    const QString keyName = QLatin1String(key);
    std::visit(
        Overloaded{
            [&](Field<bool> of) { ini.writeBool(sectionName, keyName, of(from)); },
            [&](Field<int> of) { ini.writeInt(sectionName, keyName, stored(*this, of(from))); },
            [&](Field<QString> of) { ini.writeString(sectionName, keyName, storedText(*this, of(from))); },
            [&](Field<QByteArray> of) { ini.writeBytes(sectionName, keyName, of(from)); },
        },
        field);
}
