#include "config/SettingsFile.h"

#include "base/UserError.h"
#include "config/DataFolder.h"
#include "config/IniFile.h"
#include "config/PasswordScrambling.h"
#include "config/SerialSection.h"
#include "config/TextCodec.h"

#include <QFileInfo>

#include <algorithm>

namespace {

const QString kPoSpusteni = QStringLiteral("Po spusteni");
const QString kSemafor = QStringLiteral("Semafor");
const QString kOstatni = QStringLiteral("Ostatni");
const QString kZvuk = QStringLiteral("Zvuk");
const QString kTrat = QStringLiteral("Trat");
const QString kHW = QStringLiteral("HW");
const QString kTVOUT = QStringLiteral("TVOUT");
const QString kTisk = QStringLiteral("Tisk");
const QString kFtp = QStringLiteral("Ftp");
const QString kCom = QStringLiteral("Com");

// Defaults where the stored default differs from the field's starting value.
constexpr int kMazatCasStoredDefault = 10000;

QString numberedKey(const char* prefix, int number) {
    return QLatin1String(prefix) + QString::number(number);
}

// Key of learned sequence slot 0..7: Sekvence1, Sekvence11, Sekvence2, Sekvence21, ...
QString sequenceKey(int slot) {
    const int kart = slot / 2 + 1;
    return numberedKey("Sekvence", kart) + (slot % 2 ? QStringLiteral("1") : QString());
}

int clampInt(int value, int low, int high) {
    return std::clamp(value, low, high);
}

int lowByte(int value) {
    return value & 0xFF;
}

// A radio choice of three: 1, 2 or 3; anything else leaves the first chosen.
int portChoice(int value) {
    return value == 2 || value == 3 ? value : 1;
}

QString fileNamePart(const QString& path) {
    QString name = path;
    name.replace(QLatin1Char('\\'), QLatin1Char('/'));
    return QFileInfo(name).fileName();
}

void loadLogo(const DataFolder& folder, TSettings& settings, const SettingsHooks& hooks) {
    QImage logo;
    if (!settings.Tisk.Logo.isEmpty())
        logo.load(folder.filePath(settings.Tisk.Logo));
    if (logo.isNull()) {
        settings.Tisk.Logo.clear();
        callHook(hooks.logoUnavailable, folder.folderPath(QStringLiteral("Logo")));
    } else {
        callHook(hooks.logoLoaded, logo);
    }
}

void selectSound(const DataFolder& folder, TSettings& settings, const SettingsHooks& hooks) {
    const QString soundFolder = folder.folderPath(QStringLiteral("zvuky"));
    const auto present = [&](const QString& name) {
        const QFileInfo info(DataFolder::resolve(soundFolder, name));
        return !name.isEmpty() && info.isFile() ? info.fileName() : QString();
    };
    QString selected = present(fileNamePart(settings.Zvuk.jmeno));
    if (selected.isEmpty())
        selected = present(QStringLiteral("success.wav"));
    // Without either file the configured name stays, so a missing folder loses no setting.
    if (!selected.isEmpty())
        settings.Zvuk.jmeno = selected;
    callHook(hooks.selectSoundFile, soundFolder, settings.Zvuk.jmeno);
}

QString readPassword(const IniFile& ini) {
    const QString stored = ini.readString(kFtp, QStringLiteral("Heslo"), QString());
    return TextCodec::decode(StrDecrypt(Base64Decode(stored)));
}

QString storedPassword(const QString& password) {
    return Base64Encode(StrEncrypt(TextCodec::encode(password)));
}

} // namespace

QString SettingsFilePath(const DataFolder& folder) {
    return folder.filePath(QStringLiteral("tarvolin.ini"));
}

void ReadSettingsKeys(const IniFile& ini, TSettings& s) {
    const TSettings d;

    s.PoSpusteni.Port = portChoice(ini.readInt(kPoSpusteni, QStringLiteral("Port"), d.PoSpusteni.Port));
    s.PoSpusteni.Base = lowByte(ini.readInt(kPoSpusteni, QStringLiteral("Base"), d.PoSpusteni.Base));
    s.PoSpusteni.Base1 = ini.readString(kPoSpusteni, QStringLiteral("Base1"), d.PoSpusteni.Base1);
    s.PoSpusteni.START = ini.readBool(kPoSpusteni, QStringLiteral("START"), d.PoSpusteni.START);
    s.PoSpusteni.LPT = ini.readBool(kPoSpusteni, QStringLiteral("LPT"), d.PoSpusteni.LPT);
    s.PoSpusteni.COM = ini.readBool(kPoSpusteni, QStringLiteral("COM"), d.PoSpusteni.COM);

    s.Semafor.Pouzij = ini.readBool(kSemafor, QStringLiteral("Pouzij"), d.Semafor.Pouzij);
    s.Semafor.Port = portChoice(ini.readInt(kSemafor, QStringLiteral("Port"), d.Semafor.Port));
    s.Semafor.Prodleva =
        clampInt(ini.readInt(kSemafor, QStringLiteral("Prodleva"), d.Semafor.Prodleva), 1, 10);
    s.Semafor.Zelena = lowByte(ini.readInt(kSemafor, QStringLiteral("Zelena"), d.Semafor.Zelena));
    s.Semafor.Oranzova = lowByte(ini.readInt(kSemafor, QStringLiteral("Oranzova"), d.Semafor.Oranzova));
    s.Semafor.Cervena = lowByte(ini.readInt(kSemafor, QStringLiteral("Cervena"), d.Semafor.Cervena));

    s.Trat.delka = clampInt(ini.readInt(kTrat, QStringLiteral("delka"), d.Trat.delka), 1, 99999);

    s.Ostatni.OnTop = ini.readBool(kOstatni, QStringLiteral("OnTop"), d.Ostatni.OnTop);
    s.Ostatni.ExtStart = ini.readBool(kOstatni, QStringLiteral("ExtStart"), d.Ostatni.ExtStart);
    s.Ostatni.PrvniKolo = ini.readBool(kOstatni, QStringLiteral("PrvniKolo"), d.Ostatni.PrvniKolo);
    s.Ostatni.Priorita = ini.readInt(kOstatni, QStringLiteral("Priorita"), d.Ostatni.Priorita);
    s.Ostatni.UlozitZavody = ini.readBool(kOstatni, QStringLiteral("UlozitZavody"), d.Ostatni.UlozitZavody);

    s.HW.Rizeni = ini.readBool(kHW, QStringLiteral("Rizeni"), d.HW.Rizeni);
    s.HW.Negace = ini.readBool(kHW, QStringLiteral("Negace"), d.HW.Negace);
    s.HW.LOG0 = clampInt(ini.readInt(kHW, QStringLiteral("LOG0"), d.HW.LOG0), 10, 5000);
    s.HW.LOG1 = clampInt(ini.readInt(kHW, QStringLiteral("LOG1"), d.HW.LOG1), 10, 5000);
    for (int i = 0; i < 4; ++i)
        s.HW.Chyba[i] = clampInt(ini.readInt(kHW, numberedKey("Chyba", i + 1), d.HW.Chyba[i]), 0, 59000);
    s.HW.Prodleva = clampInt(ini.readInt(kHW, QStringLiteral("Prodleva"), d.HW.Prodleva), 500, 59000);
    s.HW.Mazat = ini.readBool(kHW, QStringLiteral("Mazat"), d.HW.Mazat);
    s.HW.MazatCas = clampInt(ini.readInt(kHW, QStringLiteral("MazatCas"), kMazatCasStoredDefault), 1, 120);

    s.TVOUT.Pouzit = ini.readBool(kTVOUT, QStringLiteral("Pouzit"), d.TVOUT.Pouzit);
    s.TVOUT.Form = ini.readBool(kTVOUT, QStringLiteral("Form"), d.TVOUT.Form);
    s.TVOUT.TypZobrazeni =
        clampInt(ini.readInt(kTVOUT, QStringLiteral("TypZobrazeni"), d.TVOUT.TypZobrazeni), 0, 1);

    s.Tisk.Logo = ini.readString(kTisk, QStringLiteral("Logo"), d.Tisk.Logo);
    s.Tisk.Velikost = clampInt(ini.readInt(kTisk, QStringLiteral("Velikost"), d.Tisk.Velikost), 10, 100);
    s.Tisk.Centrovat = ini.readBool(kTisk, QStringLiteral("Centrovat"), d.Tisk.Centrovat);
    for (int i = 0; i < 8; ++i) {
        // Stored behind a "*" so that a text may begin with blanks; the first character is dropped
        // whatever it is.
        const std::optional<QByteArray> stored = ini.value(kTisk, numberedKey("Text", i + 1));
        s.Tisk.Text[i] = stored ? TextCodec::decode(stored->mid(1)) : d.Tisk.Text[i];
    }

    s.Ftp.Hostitel = ini.readString(kFtp, QStringLiteral("Hostitel"), d.Ftp.Hostitel);
    s.Ftp.Jmeno = ini.readString(kFtp, QStringLiteral("Jmeno"), d.Ftp.Jmeno);
    s.Ftp.Heslo = readPassword(ini);
    s.Ftp.Hesla = ini.readBool(kFtp, QStringLiteral("Hesla"), d.Ftp.Hesla);
    for (int i = 0; i < 5; ++i)
        s.Ftp.Posilat[i] = ini.readBool(kFtp, QString::number(i + 1), d.Ftp.Posilat[i]);
    for (int i = 0; i < 4; ++i) {
        s.Ftp.Soubor[i] = ini.readString(kFtp, numberedKey("Soubor", i + 1), d.Ftp.Soubor[i]);
        s.Ftp.FtpAdr[i] = ini.readString(kFtp, numberedKey("FtpAdr", i + 1), d.Ftp.FtpAdr[i]);
    }

    for (int slot = 0; slot < 8; ++slot)
        s.Com.Sekvence[slot] = ini.readBytes(kCom, sequenceKey(slot), d.Com.Sekvence[slot]);
    s.Com.RTS = ini.readBool(kCom, QStringLiteral("RTS"), d.Com.RTS);
    s.Com.DTR = ini.readBool(kCom, QStringLiteral("DTR"), d.Com.DTR);

    s.Zvuk.Hrat = ini.readBool(kZvuk, QStringLiteral("Hrat"), d.Zvuk.Hrat);
    s.Zvuk.Applaus = ini.readBool(kZvuk, QStringLiteral("Applaus"), d.Zvuk.Applaus);
    s.Zvuk.jmeno = ini.readString(kZvuk, QStringLiteral("jmeno"), d.Zvuk.jmeno);
}

void WriteSettingsKeys(IniFile& ini, const TSettings& s) {
    ini.writeInt(kPoSpusteni, QStringLiteral("Port"), portChoice(s.PoSpusteni.Port));
    ini.writeInt(kPoSpusteni, QStringLiteral("Base"), lowByte(s.PoSpusteni.Base));
    ini.writeString(kPoSpusteni, QStringLiteral("Base1"), s.PoSpusteni.Base1);
    ini.writeBool(kPoSpusteni, QStringLiteral("Start"), s.PoSpusteni.START);
    ini.writeBool(kPoSpusteni, QStringLiteral("LPT"), s.PoSpusteni.LPT);
    ini.writeBool(kPoSpusteni, QStringLiteral("COM"), s.PoSpusteni.COM);

    ini.writeBool(kSemafor, QStringLiteral("Pouzij"), s.Semafor.Pouzij);
    ini.writeInt(kSemafor, QStringLiteral("Port"), portChoice(s.Semafor.Port));
    ini.writeInt(kSemafor, QStringLiteral("Prodleva"), s.Semafor.Prodleva);
    ini.writeInt(kSemafor, QStringLiteral("Zelena"), lowByte(s.Semafor.Zelena));
    ini.writeInt(kSemafor, QStringLiteral("Oranzova"), lowByte(s.Semafor.Oranzova));
    ini.writeInt(kSemafor, QStringLiteral("Cervena"), lowByte(s.Semafor.Cervena));

    ini.writeBool(kOstatni, QStringLiteral("OnTop"), s.Ostatni.OnTop);
    ini.writeBool(kOstatni, QStringLiteral("ExtStart"), s.Ostatni.ExtStart);
    ini.writeBool(kOstatni, QStringLiteral("PrvniKolo"), s.Ostatni.PrvniKolo);
    ini.writeInt(kOstatni, QStringLiteral("Priorita"), s.Ostatni.Priorita);
    ini.writeBool(kOstatni, QStringLiteral("UlozitZavody"), s.Ostatni.UlozitZavody);

    ini.writeBool(kZvuk, QStringLiteral("Hrat"), s.Zvuk.Hrat);
    ini.writeBool(kZvuk, QStringLiteral("Applaus"), s.Zvuk.Applaus);
    ini.writeString(kZvuk, QStringLiteral("Jmeno"), fileNamePart(s.Zvuk.jmeno));

    ini.writeInt(kTrat, QStringLiteral("delka"), s.Trat.delka);

    ini.writeBool(kHW, QStringLiteral("Rizeni"), s.HW.Rizeni);
    ini.writeBool(kHW, QStringLiteral("Negace"), s.HW.Negace);
    ini.writeInt(kHW, QStringLiteral("LOG0"), s.HW.LOG0);
    ini.writeInt(kHW, QStringLiteral("LOG1"), s.HW.LOG1);
    for (int i = 0; i < 4; ++i)
        ini.writeInt(kHW, numberedKey("Chyba", i + 1), s.HW.Chyba[i]);
    ini.writeInt(kHW, QStringLiteral("Prodleva"), s.HW.Prodleva);
    ini.writeBool(kHW, QStringLiteral("Mazat"), s.HW.Mazat);
    ini.writeInt(kHW, QStringLiteral("MazatCas"), s.HW.MazatCas);

    ini.writeBool(kTVOUT, QStringLiteral("Pouzit"), s.TVOUT.Pouzit);
    ini.writeBool(kTVOUT, QStringLiteral("Form"), s.TVOUT.Form);
    ini.writeInt(kTVOUT, QStringLiteral("TypZobrazeni"), s.TVOUT.TypZobrazeni);

    ini.writeString(kTisk, QStringLiteral("Logo"), s.Tisk.Logo);
    ini.writeInt(kTisk, QStringLiteral("Velikost"), s.Tisk.Velikost);
    ini.writeBool(kTisk, QStringLiteral("Centrovat"), s.Tisk.Centrovat);
    for (int i = 0; i < 8; ++i)
        ini.writeString(kTisk, numberedKey("Text", i + 1), QLatin1Char('*') + s.Tisk.Text[i]);

    ini.writeString(kFtp, QStringLiteral("Hostitel"), s.Ftp.Hostitel);
    ini.writeString(kFtp, QStringLiteral("Jmeno"), s.Ftp.Jmeno);
    ini.writeString(kFtp, QStringLiteral("Heslo"), storedPassword(s.Ftp.Heslo));
    ini.writeBool(kFtp, QStringLiteral("Hesla"), s.Ftp.Hesla);
    for (int i = 0; i < 5; ++i)
        ini.writeBool(kFtp, QString::number(i + 1), s.Ftp.Posilat[i]);
    for (int i = 0; i < 4; ++i)
        ini.writeString(kFtp, numberedKey("Soubor", i + 1), s.Ftp.Soubor[i]);
    for (int i = 0; i < 4; ++i)
        ini.writeString(kFtp, numberedKey("FtpAdr", i + 1), s.Ftp.FtpAdr[i]);

    for (int kart = 1; kart <= 4; ++kart)
        ini.writeBytes(kCom, sequenceKey(TSettings::sequenceSlot(kart, 0)),
                       s.Com.Sekvence[TSettings::sequenceSlot(kart, 0)]);
    for (int kart = 1; kart <= 4; ++kart)
        ini.writeBytes(kCom, sequenceKey(TSettings::sequenceSlot(kart, 1)),
                       s.Com.Sekvence[TSettings::sequenceSlot(kart, 1)]);
    ini.writeBool(kCom, QStringLiteral("RTS"), s.Com.RTS);
    ini.writeBool(kCom, QStringLiteral("DTR"), s.Com.DTR);
}

void ReadSettingsFileKeys(const DataFolder& folder, TSettings& settings, SerialParameters& serial,
                          const SettingsHooks& hooks) {
    IniFile ini;
    // An unreadable file reads as an empty one: every key takes its default.
    ini.load(SettingsFilePath(folder));

    ReadSerialSection(ini, serial);
    callHook(hooks.applySerialParameters, serial);
    ReadSettingsKeys(ini, settings);
}

void FinishReadingSettingsFile(const DataFolder& folder, TSettings& settings, const SettingsHooks& hooks) {
    loadLogo(folder, settings, hooks);
    selectSound(folder, settings, hooks);
}

void ReadSettingsFile(const DataFolder& folder, TSettings& settings, SerialParameters& serial,
                      const SettingsHooks& hooks) {
    ReadSettingsFileKeys(folder, settings, serial, hooks);
    FinishReadingSettingsFile(folder, settings, hooks);
}

void ReadWindowCreationSettings(const DataFolder& folder, TSettings& settings) {
    IniFile ini;
    ini.load(SettingsFilePath(folder));
    const TSettings defaults;
    settings.Ostatni.OnTop = ini.readBool(kOstatni, QStringLiteral("OnTop"), defaults.Ostatni.OnTop);
    settings.Ostatni.Priorita = ini.readInt(kOstatni, QStringLiteral("Priorita"), defaults.Ostatni.Priorita);
}

void WriteSettingsFile(const DataFolder& folder, TSettings& settings, bool onTopAtActivation,
                       const SettingsHooks& hooks) {
    callHook(hooks.abortFtpTransfer);
    callHook(hooks.closeSerialPort);

    const QString path = SettingsFilePath(folder);
    const UserError unableToWrite(QStringLiteral("Unable to write to %1").arg(path));
    IniFile ini;
    // Rewriting a file we could not read would lose its other sections ("ComPort1").
    if (!ini.load(path))
        throw unableToWrite;

    if (settings.Ftp.Hesla)
        settings.Ftp.Heslo.clear();
    WriteSettingsKeys(ini, settings);
    if (!ini.save(path))
        throw unableToWrite;

    callHook(hooks.applyExternalStart, settings.Ostatni.ExtStart);
    callHook(hooks.applyProcessPriority, settings.Ostatni.Priorita);
    if (settings.Ostatni.OnTop != onTopAtActivation)
        callHook(hooks.onTopChanged);
    callHook(hooks.writeRestingValue, quint8(lowByte(settings.PoSpusteni.Base)));
}
