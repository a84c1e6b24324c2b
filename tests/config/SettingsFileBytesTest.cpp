// The settings file byte for byte: what the station writes must stay what earlier versions wrote, so
// that a file moves between versions (and a diff of two saves shows only what the operator changed).
// The expected files lie in tests/data/settings; on a mismatch the bytes written are kept under the
// build folder for comparison.
#include "config/IniFile.h"
#include "config/SettingsFile.h"

#include "TempDataFolder.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

#include <ostream>

// Texts in failure messages as text rather than as UTF-16 units.
void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}

namespace {

QByteArray fixture(const QString& name) {
    QFile file(QStringLiteral(TARVOLIN_TEST_DATA "/settings/") + name);
    if (!file.open(QIODevice::ReadOnly))
        return QByteArray();
    return file.readAll();
}

// Compares written bytes with a fixture; keeps the written ones beside the build for a diff.
::testing::AssertionResult matchesFixture(const QByteArray& written, const QString& name) {
    const QByteArray expected = fixture(name);
    if (!expected.isEmpty() && written == expected)
        return ::testing::AssertionSuccess();
    const QString keptFolder = QStringLiteral(TARVOLIN_BINARY_DIR "/settings-written");
    QDir().mkpath(keptFolder);
    QFile kept(keptFolder + QLatin1Char('/') + name);
    if (kept.open(QIODevice::WriteOnly | QIODevice::Truncate))
        kept.write(written);
    return ::testing::AssertionFailure()
           << (expected.isEmpty() ? "missing fixture " : "differs from fixture ") << name.toStdString()
           << "; written bytes kept in " << kept.fileName().toStdString();
}

// A value other than the default in every field, with what the file's rules act on: Czech letters,
// leading blanks, bytes above 127, a path whose file-name part is stored.
TSettings everyFieldChanged() {
    TSettings s;
    s.PoSpusteni.Port = 3;
    s.PoSpusteni.Base = 0xA5;
    s.PoSpusteni.Base1 = QStringLiteral("3BC");
    s.PoSpusteni.START = true;
    s.PoSpusteni.LPT = false;
    s.PoSpusteni.COM = true;

    s.Semafor.Pouzij = false;
    s.Semafor.Port = 2;
    s.Semafor.Prodleva = 7;
    s.Semafor.Zelena = 0x81;
    s.Semafor.Oranzova = 0x42;
    s.Semafor.Cervena = 0x24;

    s.Trat.delka = 812;

    s.Ostatni.OnTop = true;
    s.Ostatni.ExtStart = true;
    s.Ostatni.PrvniKolo = true;
    s.Ostatni.Priorita = 3;
    s.Ostatni.UlozitZavody = false;

    s.HW.Rizeni = false;
    s.HW.Negace = false;
    s.HW.LOG0 = 400;
    s.HW.LOG1 = 20;
    s.HW.Chyba = {15, 250, 3000, 59000};
    s.HW.Prodleva = 3100;
    s.HW.Mazat = true;
    s.HW.MazatCas = 45;

    s.TVOUT.Pouzit = true;
    s.TVOUT.Form = false;
    s.TVOUT.TypZobrazeni = 0;
    s.TVOUT.Poloha = QStringLiteral("1930,12");

    s.Tisk.Logo = QStringLiteral("/srv/tarvolin/Logo/Motokáry.bmp");
    s.Tisk.Velikost = 64;
    s.Tisk.Centrovat = false;
    s.Tisk.Text = {QStringLiteral("Motokárové centrum Žďár"),
                   QStringLiteral("  odsazeno"),
                   QStringLiteral("*hvězdička"),
                   QStringLiteral("tel. 777 123 456"),
                   QStringLiteral("\"v uvozovkách\""),
                   QStringLiteral("Těšíme se na Vás!"),
                   QStringLiteral("x"),
                   QStringLiteral("konec ")};

    s.Ftp.Hostitel = QStringLiteral("ftp.závodiště.cz");
    s.Ftp.Jmeno = QStringLiteral("operátor");
    s.Ftp.Heslo = QStringLiteral("Příliš tajné");
    s.Ftp.Hesla = false;
    s.Ftp.Posilat = {true, true, true, true, true};
    s.Ftp.Soubor = {QStringLiteral("/srv/tarvolin/vysledky/posledni.txt"), QStringLiteral("/tmp/b.txt"),
                    QStringLiteral("/tmp/c.txt"), QStringLiteral("/srv/tarvolin/tabulky/nej")};
    s.Ftp.FtpAdr = {QStringLiteral("/Výsledky"), QStringLiteral("www"), QStringLiteral("Www/Data"),
                    QStringLiteral("tabulky")};
    s.Ftp.Pasivni = true;
    s.Ftp.TLS = true;

    s.Com.Sekvence = {QByteArray("\x01\x02\x03"), QByteArray("AB"), QByteArray("\x81\xA0\xFF"),
                      QByteArray(" mezera "),     QByteArray("2B"), QByteArray("3A3A"),
                      QByteArray("\x7F\x80", 2),  QByteArray("4B")};
    s.Com.RTS = true;
    s.Com.DTR = true;

    s.Web.Pouzit = true;
    s.Web.Port = 8081;

    s.Zavod.Dojeti = true;
    s.Zavod.Limit = 300;
    s.Zavod.Tisk = true;
    s.Zavod.VymazatJmena = false;
    s.MQTT.Pouzit = true;
    s.MQTT.Server = QStringLiteral("broker.example");
    s.MQTT.Port = 8883;
    s.MQTT.Trat = QStringLiteral("brno");
    s.MQTT.Predpona = QStringLiteral("kart");
    s.MQTT.Uzivatel = QStringLiteral("stanice");
    s.MQTT.Heslo = QStringLiteral("tajné");
    s.MQTT.TLS = true;

    s.Hlas.Pouzit = true;
    s.Hlas.Co = 2;
    s.Hlas.Karty = 5;
    s.Hlas.Konec = false;
    s.Hlas.Hlasitost = 60;
    s.Hlas.Rychlost = 200;

    s.Zvuk.Hrat = true;
    s.Zvuk.Applaus = true;
    s.Zvuk.jmeno = QStringLiteral("C:\\Tarvolin\\zvuky\\gong.wav");
    return s;
}

// Every field compared on its own, so that a field the file forgets shows by name.
void expectSameSettings(const TSettings& a, const TSettings& b) {
    EXPECT_EQ(a.PoSpusteni.Port, b.PoSpusteni.Port);
    EXPECT_EQ(a.PoSpusteni.Base, b.PoSpusteni.Base);
    EXPECT_EQ(a.PoSpusteni.Base1, b.PoSpusteni.Base1);
    EXPECT_EQ(a.PoSpusteni.START, b.PoSpusteni.START);
    EXPECT_EQ(a.PoSpusteni.LPT, b.PoSpusteni.LPT);
    EXPECT_EQ(a.PoSpusteni.COM, b.PoSpusteni.COM);
    EXPECT_EQ(a.Semafor.Pouzij, b.Semafor.Pouzij);
    EXPECT_EQ(a.Semafor.Port, b.Semafor.Port);
    EXPECT_EQ(a.Semafor.Prodleva, b.Semafor.Prodleva);
    EXPECT_EQ(a.Semafor.Zelena, b.Semafor.Zelena);
    EXPECT_EQ(a.Semafor.Oranzova, b.Semafor.Oranzova);
    EXPECT_EQ(a.Semafor.Cervena, b.Semafor.Cervena);
    EXPECT_EQ(a.Trat.delka, b.Trat.delka);
    EXPECT_EQ(a.Ostatni.OnTop, b.Ostatni.OnTop);
    EXPECT_EQ(a.Ostatni.ExtStart, b.Ostatni.ExtStart);
    EXPECT_EQ(a.Ostatni.PrvniKolo, b.Ostatni.PrvniKolo);
    EXPECT_EQ(a.Ostatni.Priorita, b.Ostatni.Priorita);
    EXPECT_EQ(a.Ostatni.UlozitZavody, b.Ostatni.UlozitZavody);
    EXPECT_EQ(a.HW.Rizeni, b.HW.Rizeni);
    EXPECT_EQ(a.HW.Negace, b.HW.Negace);
    EXPECT_EQ(a.HW.LOG0, b.HW.LOG0);
    EXPECT_EQ(a.HW.LOG1, b.HW.LOG1);
    EXPECT_EQ(a.HW.Chyba, b.HW.Chyba);
    EXPECT_EQ(a.HW.Prodleva, b.HW.Prodleva);
    EXPECT_EQ(a.HW.Mazat, b.HW.Mazat);
    EXPECT_EQ(a.HW.MazatCas, b.HW.MazatCas);
    EXPECT_EQ(a.TVOUT.Pouzit, b.TVOUT.Pouzit);
    EXPECT_EQ(a.TVOUT.Form, b.TVOUT.Form);
    EXPECT_EQ(a.TVOUT.TypZobrazeni, b.TVOUT.TypZobrazeni);
    EXPECT_EQ(a.TVOUT.Poloha, b.TVOUT.Poloha);
    EXPECT_EQ(a.Tisk.Logo, b.Tisk.Logo);
    EXPECT_EQ(a.Tisk.Velikost, b.Tisk.Velikost);
    EXPECT_EQ(a.Tisk.Centrovat, b.Tisk.Centrovat);
    EXPECT_EQ(a.Tisk.Text, b.Tisk.Text);
    EXPECT_EQ(a.Ftp.Hostitel, b.Ftp.Hostitel);
    EXPECT_EQ(a.Ftp.Jmeno, b.Ftp.Jmeno);
    EXPECT_EQ(a.Ftp.Heslo, b.Ftp.Heslo);
    EXPECT_EQ(a.Ftp.Hesla, b.Ftp.Hesla);
    EXPECT_EQ(a.Ftp.Posilat, b.Ftp.Posilat);
    EXPECT_EQ(a.Ftp.Soubor, b.Ftp.Soubor);
    EXPECT_EQ(a.Ftp.FtpAdr, b.Ftp.FtpAdr);
    EXPECT_EQ(a.Ftp.Pasivni, b.Ftp.Pasivni);
    EXPECT_EQ(a.Ftp.TLS, b.Ftp.TLS);
    EXPECT_EQ(a.Com.Sekvence, b.Com.Sekvence);
    EXPECT_EQ(a.Com.RTS, b.Com.RTS);
    EXPECT_EQ(a.Com.DTR, b.Com.DTR);
    EXPECT_EQ(a.Web.Pouzit, b.Web.Pouzit);
    EXPECT_EQ(a.Web.Port, b.Web.Port);
    EXPECT_EQ(a.Zavod.Dojeti, b.Zavod.Dojeti);
    EXPECT_EQ(a.Zavod.Limit, b.Zavod.Limit);
    EXPECT_EQ(a.Zavod.Tisk, b.Zavod.Tisk);
    EXPECT_EQ(a.Zavod.VymazatJmena, b.Zavod.VymazatJmena);
    EXPECT_EQ(a.Hlas.Pouzit, b.Hlas.Pouzit);
    EXPECT_EQ(a.Hlas.Co, b.Hlas.Co);
    EXPECT_EQ(a.Hlas.Karty, b.Hlas.Karty);
    EXPECT_EQ(a.Hlas.Konec, b.Hlas.Konec);
    EXPECT_EQ(a.Hlas.Hlasitost, b.Hlas.Hlasitost);
    EXPECT_EQ(a.Hlas.Rychlost, b.Hlas.Rychlost);
    EXPECT_EQ(a.MQTT.Pouzit, b.MQTT.Pouzit);
    EXPECT_EQ(a.MQTT.Server, b.MQTT.Server);
    EXPECT_EQ(a.MQTT.Port, b.MQTT.Port);
    EXPECT_EQ(a.MQTT.Trat, b.MQTT.Trat);
    EXPECT_EQ(a.MQTT.Predpona, b.MQTT.Predpona);
    EXPECT_EQ(a.MQTT.Uzivatel, b.MQTT.Uzivatel);
    EXPECT_EQ(a.MQTT.Heslo, b.MQTT.Heslo);
    EXPECT_EQ(a.MQTT.TLS, b.MQTT.TLS);
    EXPECT_EQ(a.Zvuk.Hrat, b.Zvuk.Hrat);
    EXPECT_EQ(a.Zvuk.Applaus, b.Zvuk.Applaus);
    EXPECT_EQ(a.Zvuk.jmeno, b.Zvuk.jmeno);
}

QByteArray written(const TempDataFolder& folder) {
    return folder.readFile(QStringLiteral("tarvolin.ini"));
}

TSettings readKeys(const QByteArray& file) {
    TSettings settings;
    ReadSettingsKeys(IniFile::fromBytes(file), settings);
    return settings;
}

TSettings readBack(const TempDataFolder& folder) {
    TSettings settings;
    SerialParameters serial;
    ReadSettingsFile(folder.dataFolder(), settings, serial);
    return settings;
}

} // namespace

TEST(SettingsFileBytes, DefaultsMakeTheSameNewFile) {
    TempDataFolder folder;
    TSettings settings;
    WriteSettingsFile(folder.dataFolder(), settings, false);
    EXPECT_TRUE(matchesFixture(written(folder), QStringLiteral("defaults.ini")));
}

TEST(SettingsFileBytes, EveryFieldChangedMakesTheSameNewFile) {
    TempDataFolder folder;
    TSettings settings = everyFieldChanged();
    WriteSettingsFile(folder.dataFolder(), settings, false);
    EXPECT_TRUE(matchesFixture(written(folder), QStringLiteral("every_field.ini")));
}

TEST(SettingsFileBytes, EveryFieldReadsBackIntoItsOwnField) {
    const QByteArray file = fixture(QStringLiteral("every_field.ini"));
    ASSERT_FALSE(file.isEmpty());
    TSettings expected = everyFieldChanged();
    expected.Zvuk.jmeno = QStringLiteral("gong.wav"); // the file keeps the file-name part
    expectSameSettings(readKeys(file), expected);

    // And what was read writes the same bytes again.
    TempDataFolder folder;
    TSettings reread = readKeys(file);
    WriteSettingsFile(folder.dataFolder(), reread, false);
    EXPECT_TRUE(matchesFixture(written(folder), QStringLiteral("every_field.ini")));
}

TEST(SettingsFileBytes, AFileWithoutKeysReadsAsTheDefaults) {
    expectSameSettings(readKeys("[ComPort1]\r\nPort=COM2\r\n"), TSettings());
}

TEST(SettingsFileBytes, ValuesOutsideTheirRangesAreWrittenAsHeldButMasksAndPortsAreNot) {
    TempDataFolder folder;
    TSettings settings;
    settings.PoSpusteni.Port = 7;
    settings.PoSpusteni.Base = 0x1A5;
    settings.Semafor.Port = 0;
    settings.Semafor.Prodleva = 11;
    settings.Semafor.Zelena = -1;
    settings.Semafor.Oranzova = 0x100;
    settings.Semafor.Cervena = 0x3FF;
    settings.Trat.delka = 0;
    settings.Ostatni.Priorita = 9;
    settings.HW.LOG0 = 5;
    settings.HW.LOG1 = 5001;
    settings.HW.Chyba = {-1, 59001, 0, 0};
    settings.HW.Prodleva = 100000;
    settings.HW.MazatCas = 10000;
    settings.TVOUT.TypZobrazeni = 5;
    settings.Tisk.Velikost = 4;
    settings.Ftp.Hesla = true; // "Neukládat heslo": the typed password goes
    settings.Ftp.Heslo = QStringLiteral("tajne");
    WriteSettingsFile(folder.dataFolder(), settings, false);
    EXPECT_TRUE(matchesFixture(written(folder), QStringLiteral("raw_values.ini")));
}

TEST(SettingsFileBytes, AnExistingFileIsRewrittenInPlace) {
    TempDataFolder folder;
    // Written by hand and by older versions: odd letter case, blanks, comments, foreign sections,
    // sections out of order and keys missing from them.
    folder.writeFile(QStringLiteral("tarvolin.ini"), "; tarvolin\r\n"
                                                     "\r\n"
                                                     "[ComPort1]\r\n"
                                                     "Port=/dev/ttyUSB0\r\n"
                                                     "BaudRate=19200\r\n"
                                                     "[hw]\r\n"
                                                     "prodleva = 0x7D0\r\n"
                                                     "; korekce\r\n"
                                                     "CHYBA2=100\r\n"
                                                     "\r\n"
                                                     "[ PO SPUSTENI ]\r\n"
                                                     "START=1\r\n"
                                                     "base1=\"378\"\r\n"
                                                     "[zvuk]\n"
                                                     "jmeno=fanfara.wav\n"
                                                     "[Tisk]\r\n"
                                                     "Text3=*stary\r\n"
                                                     "Text9=*navic\r\n"
                                                     "[Ftp]\r\n"
                                                     "Heslo=djNFqzg=\r\n"
                                                     "5=1\r\n"
                                                     "[Vlastni]\r\n"
                                                     "klic=hodnota\r\n");
    TSettings settings = readBack(folder);
    settings.HW.Chyba[1] = 120;
    settings.Tisk.Text[2] = QStringLiteral("nový");
    WriteSettingsFile(folder.dataFolder(), settings, false);
    EXPECT_TRUE(matchesFixture(written(folder), QStringLiteral("rewritten.ini")));
}
