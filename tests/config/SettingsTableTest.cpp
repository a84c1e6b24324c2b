#include "config/SettingsTable.h"
#include "config/IniFile.h"

#include <gtest/gtest.h>

#include <set>
#include <utility>

namespace {

const void* fieldAddress(const SettingKey& setting, TSettings& settings) {
    return std::visit([&](auto of) -> const void* { return &of(settings); }, setting.field);
}

} // namespace

TEST(SettingsTable, EveryKeyAppearsOnce) {
    std::set<std::pair<QString, QString>> seen;
    for (const SettingKey& setting : settingsTable()) {
        const auto name = std::make_pair(QString::fromLatin1(setting.section).toLower(),
                                         QString::fromLatin1(setting.key).toLower());
        EXPECT_TRUE(seen.insert(name).second) << setting.section << "/" << setting.key;
    }
}

TEST(SettingsTable, EveryRowFillsAFieldOfItsOwn) {
    TSettings settings;
    std::set<const void*> fields;
    for (const SettingKey& setting : settingsTable()) {
        const void* field = fieldAddress(setting, settings);
        EXPECT_GE(field, static_cast<const void*>(&settings)) << setting.key;
        EXPECT_LT(field, static_cast<const void*>(&settings + 1)) << setting.key;
        EXPECT_TRUE(fields.insert(field).second) << setting.section << "/" << setting.key;
    }
}

TEST(SettingsTable, ANewTSettingsHoldsTheDefaultsOfAFileWithoutKeys) {
    const TSettings s;
    EXPECT_EQ(s.PoSpusteni.Port, 1);
    EXPECT_EQ(s.PoSpusteni.Base1, QStringLiteral("DC00"));
    EXPECT_TRUE(s.PoSpusteni.LPT);
    EXPECT_FALSE(s.PoSpusteni.COM);
    EXPECT_TRUE(s.Semafor.Pouzij);
    EXPECT_EQ(s.Semafor.Prodleva, 1);
    EXPECT_EQ(s.Trat.delka, 1);
    EXPECT_TRUE(s.Ostatni.UlozitZavody);
    EXPECT_EQ(s.HW.LOG0, 150);
    EXPECT_EQ(s.HW.Prodleva, 2000);
    EXPECT_EQ(s.HW.MazatCas, 120); // the stored default 10000, clamped
    EXPECT_EQ(s.TVOUT.TypZobrazeni, 1);
    EXPECT_EQ(s.Tisk.Velikost, 50);
    EXPECT_EQ(s.Tisk.Text[5], QStringLiteral("Děkujeme Vám za vaši návštěvu."));
    EXPECT_TRUE(s.Tisk.Text[0].isNull());
    EXPECT_TRUE(s.Ftp.Hesla);
    EXPECT_TRUE(s.Com.Sekvence[7].isNull());
    EXPECT_EQ(s.Zvuk.jmeno, QStringLiteral("success.wav"));
}

TEST(SettingsTable, KeysAreFoundWithoutRegardToLetterCase) {
    TSettings settings;
    const SettingKey* start = findSettingKey(u"po SPUSTENI", u"START");
    ASSERT_NE(start, nullptr);
    EXPECT_EQ(fieldAddress(*start, settings), &settings.PoSpusteni.START);
    const SettingKey* sound = findSettingKey(u"Zvuk", u"jmeno");
    ASSERT_NE(sound, nullptr);
    EXPECT_EQ(fieldAddress(*sound, settings), &settings.Zvuk.jmeno);
    EXPECT_EQ(findSettingKey(u"HW", u"Chyba5"), nullptr);
    EXPECT_EQ(findSettingKey(u"ComPort1", u"Port"), nullptr);
}

TEST(SettingsTable, RangesBelongToTheFieldsTheyLimit) {
    const TSettings settings;
    const auto range = [&](const int& field) {
        const std::optional<SettingRange> r = settingRange(settings, field);
        return r ? std::make_pair(r->minimum, r->maximum) : std::make_pair(-1, -1);
    };
    EXPECT_EQ(range(settings.Semafor.Prodleva), std::make_pair(1, 10));
    EXPECT_EQ(range(settings.Trat.delka), std::make_pair(1, 99999));
    EXPECT_EQ(range(settings.HW.LOG0), std::make_pair(10, 5000));
    EXPECT_EQ(range(settings.HW.LOG1), std::make_pair(10, 5000));
    EXPECT_EQ(range(settings.HW.Chyba[2]), std::make_pair(0, 59000));
    EXPECT_EQ(range(settings.HW.Prodleva), std::make_pair(500, 59000));
    EXPECT_EQ(range(settings.HW.MazatCas), std::make_pair(1, 120));
    EXPECT_EQ(range(settings.Tisk.Velikost), std::make_pair(10, 100));
    // Masks, port choices and the priority have no range of their own.
    EXPECT_EQ(range(settings.Semafor.Zelena), std::make_pair(-1, -1));
    EXPECT_EQ(range(settings.PoSpusteni.Port), std::make_pair(-1, -1));
    EXPECT_EQ(range(settings.Ostatni.Priorita), std::make_pair(-1, -1));
    // Only the fields of that instance count.
    const TSettings other;
    EXPECT_FALSE(settingRange(settings, other.HW.LOG0));
    const int loose = 150;
    EXPECT_FALSE(settingRange(settings, loose));
}

TEST(SettingsTable, AKeyReadsAndWritesOnlyItsOwnField) {
    const SettingKey* delay = findSettingKey(u"HW", u"Prodleva");
    ASSERT_NE(delay, nullptr);
    TSettings settings;
    delay->read(IniFile::fromBytes("[hw]\r\nPRODLEVA=100\r\n[Semafor]\r\nProdleva=5\r\n"), settings);
    EXPECT_EQ(settings.HW.Prodleva, 500);
    EXPECT_EQ(settings.Semafor.Prodleva, 1);

    IniFile ini;
    settings.HW.Prodleva = 4200;
    delay->write(ini, settings);
    EXPECT_EQ(ini.serialize(), QByteArray("[HW]\r\nProdleva=4200\r\n"));
}

TEST(SettingsTable, TheFileNamePartTakesEitherSeparator) {
    EXPECT_EQ(fileNamePart(QStringLiteral("C:\\Tarvolin\\zvuky\\gong.wav")), QStringLiteral("gong.wav"));
    EXPECT_EQ(fileNamePart(QStringLiteral("/opt/tarvolin/zvuky/konec.wav")), QStringLiteral("konec.wav"));
    EXPECT_EQ(fileNamePart(QStringLiteral("success.wav")), QStringLiteral("success.wav"));
}
