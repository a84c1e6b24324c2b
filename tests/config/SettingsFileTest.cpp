#include "config/SettingsFile.h"
#include "base/UserError.h"
#include "config/IniFile.h"
#include "config/TextCodec.h"

#include "TempDataFolder.h"

#include <QImage>

#include <QFileInfo>

#include <gtest/gtest.h>

#include <csignal>
#include <sys/resource.h>

namespace {

QByteArray cp1250(const QString& text) {
    return TextCodec::encode(text);
}

// Reads the folder's settings with hooks that only record what they were asked.
struct ReadResult {
    TSettings settings;
    SerialParameters serial;
    QStringList calls;
    QString logoFolder;
    QString soundFolder;
    QString soundFile;
};

ReadResult readSettings(const TempDataFolder& folder) {
    ReadResult result;
    SettingsHooks hooks;
    hooks.applySerialParameters = [&](const SerialParameters&) { result.calls << QStringLiteral("serial"); };
    hooks.logoLoaded = [&](const QImage&) { result.calls << QStringLiteral("logo"); };
    hooks.logoUnavailable = [&](const QString& logoFolder) {
        result.calls << QStringLiteral("no logo");
        result.logoFolder = logoFolder;
    };
    hooks.selectSoundFile = [&](const QString& soundFolder, const QString& file) {
        result.calls << QStringLiteral("sound");
        result.soundFolder = soundFolder;
        result.soundFile = file;
    };
    ReadSettingsFile(folder.dataFolder(), result.settings, result.serial, hooks);
    return result;
}

TSettings readBack(const TempDataFolder& folder) {
    return readSettings(folder).settings;
}

// Makes every write beyond a few bytes fail, as a full disk would, for the life of the object.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) {
        getrlimit(RLIMIT_FSIZE, &m_saved);
        m_oldHandler = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit = m_saved;
        limit.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &m_saved);
        std::signal(SIGXFSZ, m_oldHandler);
    }

private:
    rlimit m_saved{};
    void (*m_oldHandler)(int) = nullptr;
};

QString errorOf(const std::function<void()>& action) {
    try {
        action();
    } catch (const UserError& error) {
        return error.message();
    }
    return QStringLiteral("<no error>");
}

} // namespace

TEST(ReadSettingsFile, WithoutAFileEveryFieldHasItsDefault) {
    TempDataFolder folder;
    const ReadResult result = readSettings(folder);
    const TSettings& s = result.settings;
    EXPECT_EQ(s.Tisk.Text[5], QStringLiteral("Děkujeme Vám za vaši návštěvu."));
    for (int i : {0, 1, 2, 3, 4, 6, 7})
        EXPECT_TRUE(s.Tisk.Text[i].isEmpty()) << i;
    EXPECT_EQ(s.HW.MazatCas, 120);
    EXPECT_EQ(s.HW.Prodleva, 2000);
    EXPECT_EQ(s.HW.LOG0, 150);
    EXPECT_EQ(s.PoSpusteni.Port, 1);
    EXPECT_EQ(s.PoSpusteni.Base1, QStringLiteral("DC00"));
    EXPECT_TRUE(s.PoSpusteni.LPT);
    EXPECT_FALSE(s.PoSpusteni.COM);
    EXPECT_TRUE(s.Ftp.Hesla);
    EXPECT_TRUE(s.Ostatni.UlozitZavody);
    EXPECT_EQ(s.TVOUT.TypZobrazeni, 1);
    EXPECT_EQ(s.Zvuk.jmeno, QStringLiteral("success.wav"));
    EXPECT_EQ(result.serial, SerialParameters());
    // Step order: serial section, keys, logo (its notice, as none is configured), sound tree.
    EXPECT_EQ(result.calls,
              (QStringList{QStringLiteral("serial"), QStringLiteral("no logo"), QStringLiteral("sound")}));
    EXPECT_EQ(result.logoFolder, folder.filePath(QStringLiteral("Logo")));
    EXPECT_EQ(result.soundFolder, folder.filePath(QStringLiteral("zvuky")));
    EXPECT_FALSE(folder.exists(QStringLiteral("tarvolin.ini"))); // reading creates nothing
}

TEST(ReadSettingsFile, TheTwoHalvesSplitTheHooksBetweenThem) {
    TempDataFolder folder;
    folder.writeFile(QStringLiteral("tarvolin.ini"),
                     "[ComPort1]\r\nPort=COM4\r\n[Tisk]\r\nLogo=/nowhere.bmp\r\n");
    TSettings settings;
    SerialParameters serial;
    QStringList calls;
    SettingsHooks hooks;
    hooks.applySerialParameters = [&](const SerialParameters& p) {
        calls << QStringLiteral("serial ") + p.Port;
    };
    hooks.logoUnavailable = [&](const QString&) { calls << QStringLiteral("no logo"); };
    hooks.selectSoundFile = [&](const QString&, const QString&) { calls << QStringLiteral("sound"); };
    ReadSettingsFileKeys(folder.dataFolder(), settings, serial, hooks);
    EXPECT_EQ(calls, QStringList{QStringLiteral("serial COM4")});
    EXPECT_EQ(settings.Tisk.Logo, QStringLiteral("/nowhere.bmp")); // emptied only by the second half
    FinishReadingSettingsFile(folder.dataFolder(), settings, hooks);
    EXPECT_EQ(calls, (QStringList{QStringLiteral("serial COM4"), QStringLiteral("no logo"),
                                  QStringLiteral("sound")}));
    EXPECT_TRUE(settings.Tisk.Logo.isEmpty());
}

TEST(ReadSettingsFile, ClampsNumbersIntoTheirFieldsRangesAndMasksToEightBits) {
    TempDataFolder folder;
    folder.writeFile(
        QStringLiteral("tarvolin.ini"),
        "[HW]\r\nLOG0=5\r\nLOG1=9999\r\nProdleva=100000\r\nChyba1=-5\r\nChyba4=60000\r\nMazatCas=0\r\n"
        "[Semafor]\r\nZelena=300\r\nOranzova=-1\r\nProdleva=0\r\nPort=7\r\n"
        "[Trat]\r\ndelka=100000\r\n[Tisk]\r\nVelikost=4\r\n[Po spusteni]\r\nBase=0x1FF\r\nPort=3\r\n"
        "[TVOUT]\r\nTypZobrazeni=5\r\n");
    const TSettings s = readBack(folder);
    EXPECT_EQ(s.HW.LOG0, 10);
    EXPECT_EQ(s.HW.LOG1, 5000);
    EXPECT_EQ(s.HW.Prodleva, 59000);
    EXPECT_EQ(s.HW.Chyba[0], 0);
    EXPECT_EQ(s.HW.Chyba[3], 59000);
    EXPECT_EQ(s.HW.MazatCas, 1);
    EXPECT_EQ(s.Semafor.Zelena, 44);
    EXPECT_EQ(s.Semafor.Oranzova, 255);
    EXPECT_EQ(s.Semafor.Prodleva, 1);
    EXPECT_EQ(s.Semafor.Port, 1); // any other value leaves the first choice
    EXPECT_EQ(s.Trat.delka, 99999);
    EXPECT_EQ(s.Tisk.Velikost, 10);
    EXPECT_EQ(s.PoSpusteni.Base, 255);
    EXPECT_EQ(s.PoSpusteni.Port, 3);
    EXPECT_EQ(s.TVOUT.TypZobrazeni, 1);
}

TEST(ReadSettingsFile, AHandWrittenFileWithOddCaseBlanksAndHexadecimalValues) {
    TempDataFolder folder;
    folder.writeFile(QStringLiteral("TARVOLIN.INI"), "; written by hand\n"
                                                     "  [ po SPUSTENI ]  \n"
                                                     "start = 1\n"
                                                     "  LPT=0\n"
                                                     "com =  0x1\n"
                                                     "base1 =  378 \n"
                                                     "\n"
                                                     "[zvuk]\r"
                                                     "JMENO=gong.wav\r"
                                                     "hrat=yes\r"
                                                     "[hw]\n"
                                                     "prodleva=0x7D0\n"
                                                     "CHYBA2=0X64\n"
                                                     "Mazat=2\n"
                                                     "[ostatni]\n"
                                                     "priorita=0x2\n"
                                                     "UlozitZavody=0\n");
    const TSettings s = readBack(folder);
    EXPECT_TRUE(s.PoSpusteni.START);
    EXPECT_FALSE(s.PoSpusteni.LPT);
    EXPECT_TRUE(s.PoSpusteni.COM);
    EXPECT_EQ(s.PoSpusteni.Base1, QStringLiteral("378"));
    EXPECT_EQ(s.Zvuk.jmeno, QStringLiteral("gong.wav")); // kept although zvuky/ is missing here
    EXPECT_FALSE(s.Zvuk.Hrat);                           // no integer: the default
    EXPECT_EQ(s.HW.Prodleva, 2000);
    EXPECT_EQ(s.HW.Chyba[1], 100);
    EXPECT_TRUE(s.HW.Mazat);
    EXPECT_EQ(s.Ostatni.Priorita, 2);
    EXPECT_FALSE(s.Ostatni.UlozitZavody);
}

TEST(ReadSettingsFile, TextLinesLoseTheirFirstCharacterOnlyWhenPresent) {
    TempDataFolder folder;
    folder.writeFile(QStringLiteral("tarvolin.ini"),
                     "[Tisk]\r\nText1=*\r\nText2=*Motokáry Brno\r\nText3=Ruční zápis\r\nText4=*  odsazeno\r\n"
                     "Text7=\r\n");
    // The file is windows-1250: re-encode the Czech letters the literal holds as UTF-8.
    const QByteArray utf8 = folder.readFile(QStringLiteral("tarvolin.ini"));
    folder.writeFile(QStringLiteral("tarvolin.ini"), cp1250(QString::fromUtf8(utf8)));
    const TSettings s = readBack(folder);
    EXPECT_EQ(s.Tisk.Text[0], QString());
    EXPECT_EQ(s.Tisk.Text[1], QStringLiteral("Motokáry Brno"));
    EXPECT_EQ(s.Tisk.Text[2], QStringLiteral("uční zápis"));
    EXPECT_EQ(s.Tisk.Text[3], QStringLiteral("  odsazeno"));
    EXPECT_EQ(s.Tisk.Text[5], QStringLiteral("Děkujeme Vám za vaši návštěvu.")); // absent: default whole
    EXPECT_EQ(s.Tisk.Text[6], QString());
}

TEST(ReadSettingsFile, LoadsTheLogoOrEmptiesItsPath) {
    TempDataFolder folder;
    QImage picture(8, 4, QImage::Format_RGB32);
    picture.fill(Qt::red);
    const QString logoPath = folder.filePath(QStringLiteral("Logo/firma.png"));
    folder.makeFolder(QStringLiteral("Logo"));
    ASSERT_TRUE(picture.save(logoPath));
    folder.writeFile(QStringLiteral("tarvolin.ini"), "[Tisk]\r\nLogo=" + logoPath.toUtf8() + "\r\n");
    ReadResult result = readSettings(folder);
    EXPECT_EQ(result.settings.Tisk.Logo, logoPath);
    EXPECT_TRUE(result.calls.contains(QStringLiteral("logo")));

    folder.writeFile(QStringLiteral("tarvolin.ini"), "[Tisk]\r\nLogo=" + logoPath.toUtf8() + ".missing\r\n");
    result = readSettings(folder);
    EXPECT_TRUE(result.settings.Tisk.Logo.isEmpty());
    EXPECT_TRUE(result.calls.contains(QStringLiteral("no logo")));
}

TEST(ReadSettingsFile, SelectsTheConfiguredSoundOrSuccessWav) {
    TempDataFolder folder;
    folder.writeFile(QStringLiteral("zvuky/Gong.WAV"), "RIFF");
    folder.writeFile(QStringLiteral("zvuky/success.wav"), "RIFF");
    folder.writeFile(QStringLiteral("tarvolin.ini"), "[Zvuk]\r\njmeno=gong.wav\r\n");
    ReadResult result = readSettings(folder);
    EXPECT_EQ(result.soundFile, QStringLiteral("Gong.WAV"));
    EXPECT_EQ(result.settings.Zvuk.jmeno, QStringLiteral("Gong.WAV"));

    folder.writeFile(QStringLiteral("tarvolin.ini"), "[Zvuk]\r\njmeno=fanfara.wav\r\n");
    result = readSettings(folder);
    EXPECT_EQ(result.soundFile, QStringLiteral("success.wav"));
    EXPECT_EQ(result.settings.Zvuk.jmeno, QStringLiteral("success.wav"));
}

TEST(WriteSettingsFile, FirstWriteCreatesEveryKeyInItsSectionOrder) {
    TempDataFolder folder;
    TSettings settings;
    WriteSettingsFile(folder.dataFolder(), settings, false);
    IniFile ini;
    ASSERT_TRUE(ini.load(folder.filePath(QStringLiteral("tarvolin.ini"))));
    const auto list = [](const char* names) { return QString::fromLatin1(names).split(QLatin1Char(' ')); };
    EXPECT_EQ(ini.sectionNames(),
              (QStringList{QStringLiteral("Po spusteni"), QStringLiteral("Semafor"),
                           QStringLiteral("Ostatni"), QStringLiteral("Zvuk"), QStringLiteral("Trat"),
                           QStringLiteral("HW"), QStringLiteral("TVOUT"), QStringLiteral("Tisk"),
                           QStringLiteral("Ftp"), QStringLiteral("Com"), QStringLiteral("Web"),
                           QStringLiteral("Zavod"), QStringLiteral("Hlas"), QStringLiteral("MQTT")}));
    EXPECT_EQ(ini.keyNames(QStringLiteral("Po spusteni")), list("Port Base Base1 Start LPT COM"));
    EXPECT_EQ(ini.keyNames(QStringLiteral("Semafor")), list("Pouzij Port Prodleva Zelena Oranzova Cervena"));
    EXPECT_EQ(ini.keyNames(QStringLiteral("Ostatni")),
              list("OnTop ExtStart PrvniKolo Priorita UlozitZavody"));
    EXPECT_EQ(ini.keyNames(QStringLiteral("Zvuk")), list("Hrat Applaus Jmeno"));
    EXPECT_EQ(ini.keyNames(QStringLiteral("Trat")), list("delka"));
    EXPECT_EQ(ini.keyNames(QStringLiteral("HW")),
              list("Rizeni Negace LOG0 LOG1 Chyba1 Chyba2 Chyba3 Chyba4 Prodleva Mazat MazatCas"));
    EXPECT_EQ(ini.keyNames(QStringLiteral("TVOUT")), list("Pouzit Form TypZobrazeni Poloha"));
    EXPECT_EQ(ini.keyNames(QStringLiteral("Tisk")),
              list("Logo Velikost Centrovat Text1 Text2 Text3 Text4 Text5 Text6 Text7 Text8"));
    EXPECT_EQ(ini.keyNames(QStringLiteral("Ftp")),
              list("Hostitel Jmeno Heslo Hesla 1 2 3 4 5 Soubor1 Soubor2 "
                   "Soubor3 Soubor4 FtpAdr1 FtpAdr2 FtpAdr3 FtpAdr4 Pasivni TLS"));
    EXPECT_EQ(ini.keyNames(QStringLiteral("Com")), list("Sekvence1 Sekvence2 Sekvence3 Sekvence4 Sekvence11 "
                                                        "Sekvence21 Sekvence31 Sekvence41 RTS DTR"));
    EXPECT_EQ(ini.keyNames(QStringLiteral("Web")), list("Pouzit Port"));
    EXPECT_EQ(ini.keyNames(QStringLiteral("Zavod")), list("Dojeti Limit Tisk VymazatJmena"));
    EXPECT_EQ(ini.keyNames(QStringLiteral("Hlas")), list("Pouzit Co Karty Konec Hlasitost Rychlost"));
    EXPECT_EQ(ini.keyNames(QStringLiteral("MQTT")),
              list("Pouzit Server Port Trat Predpona Uzivatel Heslo TLS"));
    const QByteArray bytes = folder.readFile(QStringLiteral("tarvolin.ini"));
    EXPECT_TRUE(bytes.contains("[Zavod]\r\nDojeti=0\r\nLimit=120\r\nTisk=0\r\nVymazatJmena=1\r\n"));
    EXPECT_TRUE(bytes.contains(
        "[Hlas]\r\nPouzit=0\r\nCo=0\r\nKarty=15\r\nKonec=1\r\nHlasitost=80\r\nRychlost=170\r\n[MQTT]\r\n"));
    EXPECT_TRUE(bytes.startsWith("[Po spusteni]\r\nPort=1\r\nBase=0\r\nBase1=DC00\r\nStart=0\r\n"));
    EXPECT_TRUE(bytes.contains("\r\nMazatCas=120\r\n"));
    EXPECT_TRUE(bytes.contains("\r\nText1=*\r\n"));
    EXPECT_TRUE(bytes.contains("\r\nHeslo=\r\n"));
    EXPECT_EQ(bytes.count('\n'), bytes.count("\r\n"));
    // What was written reads back as the same settings.
    TSettings reread = readBack(folder);
    EXPECT_EQ(reread.Tisk.Text, settings.Tisk.Text);
    EXPECT_EQ(reread.HW.MazatCas, 120);
}

TEST(WriteSettingsFile, CzechTextAndLearnedBytesRoundTripByteForByte) {
    TempDataFolder folder;
    TSettings settings;
    settings.Tisk.Text[0] = QStringLiteral("Žluťoučký kůň – Motokárové centrum");
    settings.Tisk.Text[1] = QStringLiteral("  s mezerami  ");
    settings.Ftp.Hostitel = QStringLiteral("ftp.závodiště.cz");
    settings.Ftp.FtpAdr[0] = QStringLiteral("/Výsledky");
    QByteArray burst;
    for (int byte = 0x20; byte <= 0xA0; ++byte)
        burst.append(char(byte));
    settings.Com.Sekvence[TSettings::sequenceSlot(2, 1)] = burst;
    settings.Com.Sekvence[0] = " \x81\xA0 ";
    settings.Zvuk.jmeno = QStringLiteral("C:\\Tarvolin\\zvuky\\gong.wav");
    WriteSettingsFile(folder.dataFolder(), settings, false);
    const QByteArray first = folder.readFile(QStringLiteral("tarvolin.ini"));
    EXPECT_TRUE(first.contains(QByteArray("Text1=*" + cp1250(settings.Tisk.Text[0]) + "\r\n")));
    EXPECT_TRUE(first.contains("\r\nJmeno=gong.wav\r\n")); // the file-name part only

    TSettings reread = readBack(folder);
    EXPECT_EQ(reread.Tisk.Text[0], settings.Tisk.Text[0]);
    EXPECT_EQ(reread.Tisk.Text[1], settings.Tisk.Text[1]);
    EXPECT_EQ(reread.Ftp.Hostitel, settings.Ftp.Hostitel);
    EXPECT_EQ(reread.Ftp.FtpAdr[0], settings.Ftp.FtpAdr[0]);
    EXPECT_EQ(reread.Com.Sekvence, settings.Com.Sekvence);
    WriteSettingsFile(folder.dataFolder(), reread, false);
    EXPECT_EQ(folder.readFile(QStringLiteral("tarvolin.ini")), first);
}

TEST(WriteSettingsFile, RewritesAnExistingFileInPlaceKeepingForeignSections) {
    TempDataFolder folder;
    folder.writeFile(
        QStringLiteral("Tarvolin.ini"),
        "[ComPort1]\r\nPort=/dev/ttyS1\r\n[po spusteni]\r\nSTART=0\r\n; keep me\r\n[Extra]\r\nx=1\r\n");
    TSettings settings;
    settings.PoSpusteni.START = true;
    WriteSettingsFile(folder.dataFolder(), settings, false);
    EXPECT_FALSE(folder.exists(QStringLiteral("tarvolin.ini")));
    const QByteArray bytes = folder.readFile(QStringLiteral("Tarvolin.ini"));
    EXPECT_TRUE(bytes.startsWith("[ComPort1]\r\nPort=/dev/ttyS1\r\n[po spusteni]\r\nSTART=1\r\n; keep me\r\n"
                                 "Port=1\r\n"));
    EXPECT_TRUE(bytes.contains("[Extra]\r\nx=1\r\n[Semafor]\r\n"));
}

TEST(WriteSettingsFile, PasswordIsStoredScrambledUnlessItIsNotToBeKept) {
    TempDataFolder folder;
    TSettings settings;
    settings.Ftp.Hesla = false;
    settings.Ftp.Heslo = QStringLiteral("heslo");
    WriteSettingsFile(folder.dataFolder(), settings, false);
    EXPECT_TRUE(folder.readFile(QStringLiteral("tarvolin.ini")).contains("\r\nHeslo=djNFqzg=\r\n"));
    EXPECT_EQ(readBack(folder).Ftp.Heslo, QStringLiteral("heslo"));

    settings.Ftp.Heslo = QStringLiteral("Příliš tajné");
    WriteSettingsFile(folder.dataFolder(), settings, false);
    EXPECT_EQ(readBack(folder).Ftp.Heslo, QStringLiteral("Příliš tajné"));

    settings.Ftp.Hesla = true; // "Neukládat heslo"
    WriteSettingsFile(folder.dataFolder(), settings, false);
    EXPECT_TRUE(settings.Ftp.Heslo.isEmpty());
    EXPECT_TRUE(folder.readFile(QStringLiteral("tarvolin.ini")).contains("\r\nHeslo=\r\n"));
    EXPECT_TRUE(readBack(folder).Ftp.Heslo.isEmpty());
}

TEST(WriteSettingsFile, CallsItsStepsInOrder) {
    TempDataFolder folder;
    TSettings settings;
    settings.Ostatni.ExtStart = true;
    settings.Ostatni.Priorita = 2;
    settings.Ostatni.OnTop = true;
    settings.PoSpusteni.Base = 0x1A5;
    QStringList calls;
    bool fileBeforeClosing = true;
    SettingsHooks hooks;
    hooks.abortFtpTransfer = [&] { calls << QStringLiteral("ftp"); };
    hooks.closeSerialPort = [&] {
        calls << QStringLiteral("serial");
        fileBeforeClosing = folder.exists(QStringLiteral("tarvolin.ini"));
    };
    hooks.applyExternalStart = [&](bool watch) {
        EXPECT_TRUE(folder.exists(QStringLiteral("tarvolin.ini")));
        calls << QStringLiteral("ext %1").arg(watch);
    };
    hooks.applyProcessPriority = [&](int priority) { calls << QStringLiteral("priority %1").arg(priority); };
    hooks.onTopChanged = [&] { calls << QStringLiteral("ontop"); };
    hooks.writeRestingValue = [&](quint8 value) { calls << QStringLiteral("port %1").arg(value); };

    WriteSettingsFile(folder.dataFolder(), settings, false, hooks);
    EXPECT_EQ(calls, (QStringList{QStringLiteral("ftp"), QStringLiteral("serial"), QStringLiteral("ext 1"),
                                  QStringLiteral("priority 2"), QStringLiteral("ontop"),
                                  QStringLiteral("port 165")}));
    EXPECT_FALSE(fileBeforeClosing);
    calls.clear();
    WriteSettingsFile(folder.dataFolder(), settings, true, hooks); // OnTop unchanged since activation
    EXPECT_FALSE(calls.contains(QStringLiteral("ontop")));
}

TEST(WriteSettingsFile, AFailedWriteLeavesTheOldFileWholeAndSkipsTheLaterSteps) {
    TempDataFolder folder;
    const QByteArray old = "[HW]\r\nLOG0=300\r\n[ComPort1]\r\nPort=COM2\r\n";
    const QString path = folder.writeFile(QStringLiteral("tarvolin.ini"), old);
    TSettings settings;
    bool applied = false;
    SettingsHooks hooks;
    hooks.applyExternalStart = [&](bool) { applied = true; };
    {
        const FileSizeLimit fullDisk(64); // the new file is far longer
        EXPECT_EQ(errorOf([&] { WriteSettingsFile(folder.dataFolder(), settings, false, hooks); }),
                  QStringLiteral("Unable to write to ") + path);
    }
    EXPECT_FALSE(applied);
    EXPECT_EQ(folder.readFile(QStringLiteral("tarvolin.ini")), old);
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files), QStringList{QStringLiteral("tarvolin.ini")});
}

TEST(WriteSettingsFile, AFolderThatCannotHoldTheFileIsReportedWithTheFullPath) {
    TempDataFolder folder;
    folder.writeFile(QStringLiteral("soubor"), "not a folder");
    const DataFolder inside(folder.filePath(QStringLiteral("soubor")));
    TSettings settings;
    EXPECT_EQ(errorOf([&] { WriteSettingsFile(inside, settings, false); }),
              QStringLiteral("Unable to write to ") + folder.filePath(QStringLiteral("soubor/tarvolin.ini")));
    EXPECT_EQ(folder.readFile(QStringLiteral("soubor")), QByteArray("not a folder"));
}

TEST(WriteSettingsFile, AnExistingFileThatCannotBeReadIsNotOverwritten) {
    TempDataFolder folder;
    folder.makeFolder(QStringLiteral("tarvolin.ini"));
    TSettings settings;
    const QString path = folder.filePath(QStringLiteral("tarvolin.ini"));
    EXPECT_TRUE(
        errorOf([&] {
            WriteSettingsFile(folder.dataFolder(), settings, false);
        }).startsWith(QStringLiteral("Unable to write to %1\nSoubor \"%1\" není obyčejný soubor").arg(path)));
    EXPECT_TRUE(QFileInfo(path).isDir());
    // Reading such a file gives the defaults.
    EXPECT_EQ(readBack(folder).HW.MazatCas, 120);
}

TEST(ReadWindowCreationSettings, ReadsOnlyOnTopAndPriority) {
    TempDataFolder folder;
    folder.writeFile(QStringLiteral("tarvolin.ini"), "[Ostatni]\r\nOnTop=1\r\nPriorita=3\r\nExtStart=1\r\n");
    TSettings settings;
    ReadWindowCreationSettings(folder.dataFolder(), settings);
    EXPECT_TRUE(settings.Ostatni.OnTop);
    EXPECT_EQ(settings.Ostatni.Priorita, 3);
    EXPECT_FALSE(settings.Ostatni.ExtStart);
}
