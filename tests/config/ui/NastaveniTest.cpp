// The settings window driven through its controls: pages, mirrored port choices, the controls' binding
// to the live settings, OK and Cancel, the start entry, the sound and logo pages.
#include "FakeClock.h"
#include "MessageBoxAnswerer.h"
#include "RecordingErrorReporter.h"
#include "VirtualScheduler.h"
#include "VirtualTimerFactory.h"

#include "app/ui/SettingsPages.h"
#include "base/UserError.h"
#include "config/DataFolder.h"
#include "config/IniFile.h"
#include "config/SettingsFile.h"
#include "config/SettingsTable.h"
#include "config/TSettings.h"
#include "config/ui/LogoView.h"
#include "config/ui/nastaveni.h"
#include "hardware/ControlPulse.h"
#include "hardware/PortBackend.h"
#include "hardware/PortTester.h"
#include "hardware/SerialLearnPanel.h"
#include "hardware/SerialSensorPort.h"
#include "hardware/TComPort.h"
#include "hardware/TSmallPort.h"
#include "hardware/ui/PortTestPage.h"
#include "hardware/ui/StartupPage.h"
#include "platform/ShellOpen.h"
#include "platform/SoundPlayer.h"
#include "platform/StartEntry.h"
#include "platform/XdgDesktopShortcut.h"
#include "platform/XdgPaths.h"
#include "platform/XdgStartEntry.h"
#include "printing/ui/PrintPage.h"
#include "rankings/ui/FtpPage.h"
#include "voice/ui/HlasPage.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QGroupBox>
#include <QImage>
#include <QLineEdit>
#include <QListWidget>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTimer>
#include <QTreeWidget>
#include <QtTest>

namespace {

class FakeBackend : public PortBackend {
public:
    int reads = 0;
    QList<QPair<quint16, quint8>> writes;
    quint8 status = 0;
    int open() override { return 0; }
    void close() override {}
    int read(quint16 address, quint8& value) override {
        ++reads;
        value = address & 1 ? status : 0x05;
        return 0;
    }
    int write(quint16 address, quint8 value) override {
        writes.append({address, value});
        return 0;
    }
    QString name() const override { return QStringLiteral("fake"); }
};

class PlainTimer : public ITimer {
public:
    bool on = false;
    quint32 ms = 0;
    bool enabled() const override { return on; }
    void setEnabled(bool value) override { on = value; }
    quint32 interval() const override { return ms; }
    void setInterval(quint32 value) override { ms = value; }
    bool allowZero() const override { return false; }
    void setAllowZero(bool) override {}
};

class FakeSerial : public SerialSensorPort {
public:
    bool opened = false;
    bool isOpen() const override { return opened; }
    void open() override { opened = true; }
    void close() override { opened = false; }
};

// Every key as the file would hold it, to compare two settings whole.
QByteArray keysOf(const TSettings& settings) {
    IniFile ini;
    WriteSettingsKeys(ini, settings);
    return ini.serialize();
}

class FakePlayer : public SoundPlayer {
public:
    QStringList calls;
    QString file;
    void close() override { calls << QStringLiteral("close"); }
    void setFileName(const QString& path) override {
        calls << QStringLiteral("file");
        file = path;
    }
    QString fileName() const override { return file; }
    void open() override { calls << QStringLiteral("open"); }
    void play() override { calls << QStringLiteral("play"); }
};

void touch(const QString& path) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("RIFF");
}

} // namespace

class NastaveniTest : public QObject {
    Q_OBJECT

private:
    template <typename T> T* control(TNastavDlg& dialog, const char* name) {
        T* widget = dialog.findChild<T*>(QString::fromLatin1(name));
        if (!widget)
            qFatal("no control %s", name);
        return widget;
    }

    QTemporaryDir m_dataDir;
    TSettings m_settings;
    // The port test page's repeat timer runs on virtual time: it ticks only where a test moves it.
    FakeClock m_clock;
    VirtualScheduler m_scheduler{m_clock};
    VirtualTimerFactory m_timers{m_scheduler};
    FakeBackend* m_backend = nullptr;
    std::unique_ptr<TSmallPort> m_port;
    std::unique_ptr<SettingsPages> m_pages;

    TNastavDlg& dialog() { return m_pages->window(); }

private slots:
    void init() {
        m_settings = TSettings();
        auto backend = std::make_unique<FakeBackend>();
        m_backend = backend.get();
        m_port = std::make_unique<TSmallPort>(std::move(backend));
        SettingsPages::Services services;
        services.parallelPort = m_port.get();
        services.timers = &m_timers;
        services.dataFolder = m_dataDir.path();
        services.programPath = QStringLiteral("/opt/tarvolin/tarvolin");
        m_pages = std::make_unique<SettingsPages>(m_settings, services);
    }

    void cleanup() {
        m_pages.reset();
        m_port.reset();
    }

    void hasItsPagesInOrder() {
        auto* pages = control<QTabWidget>(dialog(), "PageControl1");
        const QStringList expected = {
            QStringLiteral("Po spuštění"), QStringLiteral("Semafor"),
            QStringLiteral("Zvuky"),       QStringLiteral("Tisk"),
            QStringLiteral("TV výstup"),   QStringLiteral("Hw. řízení na LPT portu"),
            QStringLiteral("COM porty"),   QStringLiteral("Ftp klient"),
            QStringLiteral("Testování"),   QStringLiteral("Závod"),
            QStringLiteral("Hlas"),        QStringLiteral("MQTT")};
        QStringList titles;
        for (int i = 0; i < pages->count(); ++i)
            titles << pages->tabText(i);
        QCOMPARE(titles, expected);
        QCOMPARE(dialog().windowTitle(), QStringLiteral("Nastavení"));
        QCOMPARE(control<QPushButton>(dialog(), "OK_BitBtn")->text(), QStringLiteral("OK"));
        QCOMPARE(control<QPushButton>(dialog(), "btn_Zrus")->text(), QStringLiteral("&Zrušit"));
        QCOMPARE(control<QGroupBox>(dialog(), "GroupZvuk")->title(), QStringLiteral(" Zvuk  (mp3, wav) "));
        auto* list = control<QListWidget>(dialog(), "CervenaBit");
        QCOMPARE(list->count(), 8);
        QCOMPARE(list->item(7)->text(), QStringLiteral("Bit7: Pin9"));
        QVERIFY(list->item(0)->flags() & Qt::ItemIsUserCheckable);
    }

    // The page "Hlas" writes its keys as the operator edits them, shows them back, and asks for the
    // voice only when the call-outs are turned on or tested.
    void voicePageEditsItsSection() {
        int switchedOn = 0;
        int tested = 0;
        m_pages->hlas().hooks().switchedOn = [&] { ++switchedOn; };
        m_pages->hlas().hooks().testClicked = [&] { ++tested; };
        m_settings.Hlas.Karty = 15;
        m_pages->hlas().syncFromSettings();
        control<QCheckBox>(dialog(), "HlasKara2")->click();
        control<QCheckBox>(dialog(), "HlasKara4")->click();
        QCOMPARE(m_settings.Hlas.Karty, 5);
        control<QRadioButton>(dialog(), "HlasCo1")->click();
        QCOMPARE(m_settings.Hlas.Co, 1);
        control<QSpinBox>(dialog(), "RychlostSpin")->setValue(200);
        QCOMPARE(m_settings.Hlas.Rychlost, 200);
        QCOMPARE(switchedOn, 0);
        control<QCheckBox>(dialog(), "HlasPouzitBox")->click();
        QVERIFY(m_settings.Hlas.Pouzit);
        control<QCheckBox>(dialog(), "HlasPouzitBox")->click();
        QCOMPARE(switchedOn, 1);
        control<QPushButton>(dialog(), "VyzkousetButton")->click();
        QCOMPARE(tested, 1);

        m_settings.Hlas.Karty = 8;
        m_settings.Hlas.Co = 2;
        m_pages->hlas().syncFromSettings();
        QVERIFY(!control<QCheckBox>(dialog(), "HlasKara1")->isChecked());
        QVERIFY(control<QCheckBox>(dialog(), "HlasKara4")->isChecked());
        QVERIFY(control<QRadioButton>(dialog(), "HlasCo2")->isChecked());
        QCOMPARE(m_settings.Hlas.Karty, 8);
    }

    void openedFromTheMainWindowShowsTheFirstPage() {
        auto* pages = control<QTabWidget>(dialog(), "PageControl1");
        pages->setCurrentWidget(control<QWidget>(dialog(), "tbTestovani"));
        QString shown;
        QTimer::singleShot(0, this, [&] {
            shown = pages->tabText(pages->currentIndex());
            control<QPushButton>(dialog(), "btn_Zrus")->click();
        });
        QCOMPARE(dialog().execFromMainWindow(), int(QDialog::Rejected));
        QCOMPARE(shown, QStringLiteral("Po spuštění"));

        QTimer::singleShot(0, this, [&] {
            shown = pages->tabText(pages->currentIndex());
            control<QPushButton>(dialog(), "btn_Zrus")->click();
        });
        dialog().execOnPage(&m_pages->ftp());
        QCOMPARE(shown, QStringLiteral("Ftp klient"));
    }

    // The main window stores the section after the window it opened has closed (its own test); the
    // window's Cancel writes nothing, whichever way it was opened.
    void serialSectionIsStoredFromThePortAndCancelWritesNothing() {
        TComPort comPort;
        SerialParameters parameters = comPort.parameters();
        parameters.BaudRate = QStringLiteral("57600");
        comPort.setParameters(parameters);
        SettingsPages::Services services;
        services.comPort = &comPort;
        services.dataFolder = m_dataDir.path();
        TSettings settings;
        SettingsPages pages(settings, services);
        TNastavDlg& window = pages.window();
        const QString file = m_dataDir.path() + QStringLiteral("/tarvolin.ini");
        auto cancel = [&] {
            QTimer::singleShot(0, this,
                               [&] { window.findChild<QPushButton*>(QStringLiteral("btn_Zrus"))->click(); });
        };
        cancel();
        window.execOnPage(&pages.ftp());
        cancel();
        window.execFromMainWindow();
        QVERIFY(!QFile::exists(file));
        window.writeSerialSection();
        IniFile ini;
        QVERIFY(ini.load(file));
        QCOMPARE(ini.readString(QStringLiteral("ComPort1"), QStringLiteral("BaudRate"), QString()),
                 QStringLiteral("57600"));
        QVERIFY(!ini.hasSection(QStringLiteral("Trat"))); // Cancel writes nothing else
    }

    void lightsPortFollowsTheStartPort() {
        auto* semaforLpt2 = control<QRadioButton>(dialog(), "Semafor_LPT2");
        QVERIFY(control<QRadioButton>(dialog(), "LPT1_Start")->isChecked());
        semaforLpt2->click();
        QVERIFY(control<QRadioButton>(dialog(), "LPT1_Start")->isChecked());
        QVERIFY(control<QRadioButton>(dialog(), "Semafor_LPT1")->isChecked());
        QVERIFY(!semaforLpt2->isChecked());
        QCOMPARE(m_settings.Semafor.Port, 1);
        QCOMPARE(m_port->portBase(), quint16(888));

        control<QRadioButton>(dialog(), "LPT2_Start")->click();
        QVERIFY(semaforLpt2->isChecked());
        QCOMPARE(m_settings.PoSpusteni.Port, 2);
        QCOMPARE(m_settings.Semafor.Port, 2);
        QCOMPARE(m_port->portBase(), quint16(632));
    }

    void thirdPortBaseIsCopiedAndUsed() {
        control<QLineEdit>(dialog(), "LPTxx_BASE")->setText(QStringLiteral("1DC00"));
        QCOMPARE(control<QLineEdit>(dialog(), "LPTxx_Base1")->text(), QStringLiteral("1DC00"));
        QCOMPARE(control<QLineEdit>(dialog(), "Semafor_Base")->text(), QStringLiteral("1DC00"));
        QVERIFY(control<QLineEdit>(dialog(), "Semafor_Base")->isReadOnly());
        QCOMPARE(m_settings.PoSpusteni.Base1, QStringLiteral("1DC00"));
        control<QRadioButton>(dialog(), "LPTxx_Start")->click();
        QVERIFY(control<QRadioButton>(dialog(), "Semafor_LPT3")->isChecked());
        QCOMPARE(m_settings.PoSpusteni.Port, 3);
        QCOMPARE(m_port->portBase(), quint16(0xDC00));
    }

    void thirdPortBaseTakesUpToFourHexadecimalDigits() {
        for (const char* name : {"LPTxx_BASE", "LPTxx_Base1"}) {
            auto* edit = control<QLineEdit>(dialog(), name);
            edit->clear();
            QTest::keyClicks(edit, QStringLiteral("G0x1dC00"));
            QCOMPARE(edit->text(), QStringLiteral("01dC"));
        }
        QCOMPARE(m_settings.PoSpusteni.Base1, QStringLiteral("01dC"));
    }

    void controlsEditTheSettingsInPlace() {
        control<QSpinBox>(dialog(), "SpinProdleva")->setValue(3000);
        QCOMPARE(m_settings.HW.Prodleva, 3000);
        control<QCheckBox>(dialog(), "Mazat")->setChecked(true);
        QVERIFY(m_settings.HW.Mazat);
        control<QLineEdit>(dialog(), "Text8")->setText(QStringLiteral("Příště zase"));
        QCOMPARE(m_settings.Tisk.Text[7], QStringLiteral("Příště zase"));
        control<QListWidget>(dialog(), "OranzovaBit")->item(2)->setCheckState(Qt::Checked);
        control<QListWidget>(dialog(), "OranzovaBit")->item(7)->setCheckState(Qt::Checked);
        QCOMPARE(m_settings.Semafor.Oranzova, 0x84);
        control<QRadioButton>(dialog(), "priorita_aplikace2")->click();
        QCOMPARE(m_settings.Ostatni.Priorita, 2);
        control<QCheckBox>(dialog(), "UlozitZavodyBox")->setChecked(false);
        QVERIFY(!m_settings.Ostatni.UlozitZavody);
        control<QSpinBox>(dialog(), "SpinChybaMereni4")->setValue(120);
        QCOMPARE(m_settings.HW.Chyba[3], 120);
        control<QLineEdit>(dialog(), "FtpAdr3")->setText(QStringLiteral("Www"));
        QCOMPARE(m_settings.Ftp.FtpAdr[2], QStringLiteral("Www"));
    }

    void loadingClampsAndMasksTheStoredValues() {
        m_settings.HW.LOG0 = 5;
        m_settings.HW.Prodleva = 100000;
        m_settings.HW.MazatCas = 10000;
        m_settings.Semafor.Zelena = 300;
        m_settings.TVOUT.TypZobrazeni = 0;
        m_settings.Tisk.Text[5] = QStringLiteral("Děkujeme");
        dialog().syncFromSettings();
        QCOMPARE(m_settings.HW.LOG0, 10);
        QCOMPARE(m_settings.HW.Prodleva, 59000);
        QCOMPARE(m_settings.HW.MazatCas, 120);
        QCOMPARE(m_settings.Semafor.Zelena, 44);
        auto* green = control<QListWidget>(dialog(), "ZelenaBit");
        for (int bit = 0; bit < 8; ++bit)
            QCOMPARE(green->item(bit)->checkState() == Qt::Checked, bool(44 & (1 << bit)));
        QVERIFY(control<QRadioButton>(dialog(), "Typ_zobrazeni_Group0")->isChecked());
        QCOMPARE(control<QLineEdit>(dialog(), "Text6")->text(), QStringLiteral("Děkujeme"));
    }

    void choicesShowWhatIsInEffectAndKeepTheStoredValueUntilPicked() {
        m_settings.Ostatni.Priorita = 7;
        m_settings.PoSpusteni.Port = 1;
        m_settings.Semafor.Port = 3;
        dialog().syncFromSettings();
        for (const char* name :
             {"priorita_aplikace0", "priorita_aplikace1", "priorita_aplikace2", "priorita_aplikace3"})
            QVERIFY2(!control<QRadioButton>(dialog(), name)->isChecked(), name);
        QVERIFY(control<QRadioButton>(dialog(), "LPT1_Start")->isChecked());
        QVERIFY(control<QRadioButton>(dialog(), "Semafor_LPT1")->isChecked());
        QVERIFY(!control<QRadioButton>(dialog(), "Semafor_LPT3")->isChecked());
        const IniFile kept = IniFile::fromBytes(keysOf(m_settings));
        QCOMPARE(kept.readInt(QStringLiteral("Ostatni"), QStringLiteral("Priorita"), 0), 7);
        QCOMPARE(kept.readInt(QStringLiteral("Semafor"), QStringLiteral("Port"), 0), 3);

        control<QRadioButton>(dialog(), "priorita_aplikace1")->click();
        QCOMPARE(m_settings.Ostatni.Priorita, 1);
        control<QRadioButton>(dialog(), "Semafor_LPT2")->click();
        QCOMPARE(m_settings.Semafor.Port, 1);
        QVERIFY(control<QRadioButton>(dialog(), "Semafor_LPT1")->isChecked());
    }

    void numberFieldsOfferTheRangesOfTheirSettings() {
        struct NumberField {
            const char* name;
            const char16_t* section;
            const char16_t* key;
            int minimum;
            int maximum;
        };
        const NumberField fields[] = {
            {"DelkaTrate", u"Trat", u"delka", 1, 99999},
            {"Prodleva", u"Semafor", u"Prodleva", 1, 10},
            {"VelikostLOGA", u"Tisk", u"Velikost", 10, 100},
            {"SpinLOG0", u"HW", u"LOG0", 10, 5000},
            {"SpinLOG1", u"HW", u"LOG1", 10, 5000},
            {"Spin_Mazat_Cas", u"HW", u"MazatCas", 1, 120},
            {"SpinProdleva", u"HW", u"Prodleva", 500, 59000},
            {"SpinChybaMereni1", u"HW", u"Chyba1", 0, 59000},
            {"SpinChybaMereni2", u"HW", u"Chyba2", 0, 59000},
            {"SpinChybaMereni3", u"HW", u"Chyba3", 0, 59000},
            {"SpinChybaMereni4", u"HW", u"Chyba4", 0, 59000},
        };
        for (const NumberField& field : fields) {
            auto* spin = control<QSpinBox>(dialog(), field.name);
            QCOMPARE(spin->minimum(), field.minimum);
            QCOMPARE(spin->maximum(), field.maximum);
            // The same numbers as the key's row: the window has no range of its own.
            const SettingKey* key = findSettingKey(field.section, field.key);
            QVERIFY(key && key->range);
            QCOMPARE(key->range->minimum, field.minimum);
            QCOMPARE(key->range->maximum, field.maximum);
        }
        // The steps stay with the form.
        QCOMPARE(control<QSpinBox>(dialog(), "SpinProdleva")->singleStep(), 100);
        QCOMPARE(control<QSpinBox>(dialog(), "VelikostLOGA")->singleStep(), 2);
        // A number typed beyond the range ends at its edge, in the field and in the setting.
        control<QSpinBox>(dialog(), "DelkaTrate")->setValue(150000);
        QCOMPARE(m_settings.Trat.delka, 99999);
        control<QSpinBox>(dialog(), "SpinLOG1")->setValue(3);
        QCOMPARE(m_settings.HW.LOG1, 10);
    }

    void creatingTheWindowLeavesSettingsInTheirRangesAsTheyAre() {
        TSettings settings;
        settings.Trat.delka = 99999;
        settings.Semafor.Prodleva = 10;
        settings.Tisk.Velikost = 100;
        settings.HW.LOG0 = 5000;
        settings.HW.LOG1 = 10;
        settings.HW.MazatCas = 1;
        settings.HW.Prodleva = 500;
        settings.HW.Chyba = {59000, 1, 30000, 0};
        const QByteArray before = keysOf(settings);
        SettingsPages::Services services;
        services.dataFolder = m_dataDir.path();
        SettingsPages pages(settings, services);
        TNastavDlg& window = pages.window();
        QCOMPARE(keysOf(settings), before);
        QCOMPARE(window.findChild<QSpinBox*>(QStringLiteral("DelkaTrate"))->value(), 99999);
        QCOMPARE(window.findChild<QSpinBox*>(QStringLiteral("SpinLOG0"))->value(), 5000);
        QCOMPARE(window.findChild<QSpinBox*>(QStringLiteral("SpinChybaMereni1"))->value(), 59000);
    }

    void pulseFieldsSetTheirTimersAtOnce() {
        PlainTimer log0, log1;
        ControlPulse pulse(*m_port, log0, log1);
        SettingsPages::Services services;
        services.controlPulse = &pulse;
        services.dataFolder = m_dataDir.path();
        TSettings settings;
        SettingsPages pages(settings, services);
        TNastavDlg& window = pages.window();
        window.findChild<QSpinBox*>(QStringLiteral("SpinLOG0"))->setValue(400);
        window.findChild<QSpinBox*>(QStringLiteral("SpinLOG1"))->setValue(20);
        QCOMPARE(log0.interval(), quint32(400));
        QCOMPARE(log1.interval(), quint32(20));
        QCOMPARE(settings.HW.LOG0, 400);
    }

    void shortcutAndUpdaterUseTheProgramsPlace() {
        class RecordingShell : public ShellOpen {
        public:
            QStringList started;
            bool openUrl(const QUrl&) override { return true; }
            bool startDetached(const QString& program, const QString& folder) override {
                started << program << folder;
                return false; // a missing updater is not reported
            }
        } shell;
        QTemporaryDir home;
        XdgDesktopShortcut shortcut(XdgPaths::underHome(home.path()));
        SettingsPages::Services services;
        services.shell = &shell;
        services.desktopShortcut = &shortcut;
        services.dataFolder = m_dataDir.path();
        services.programPath = QStringLiteral("/opt/tarvolin/tarvolin");
        TSettings settings;
        SettingsPages pages(settings, services);
        TNastavDlg& window = pages.window();
        window.findChild<QPushButton*>(QStringLiteral("BitBtn2"))->click();
        QCOMPARE(shell.started, (QStringList{QStringLiteral("/opt/tarvolin/tarvolin_update"),
                                             QStringLiteral("/opt/tarvolin")}));
        window.findChild<QPushButton*>(QStringLiteral("BitBtn1"))->click();
        QFile file(home.path() + QStringLiteral("/Desktop/Tarvolin ver. 2.0 Final.desktop"));
        QVERIFY(file.open(QIODevice::ReadOnly));
        QVERIFY(file.readAll().contains("Exec=\"/opt/tarvolin/tarvolin\""));
    }

    void startEntryFailureStillLoadsEveryControl() {
        class FailingEntry : public StartEntry {
        public:
            void setEnabled(bool, const QString&) override { throw UserError(QStringLiteral("nelze")); }
            bool isEnabled() const override { return false; }
        } entry;
        SettingsPages::Services services;
        services.startEntry = &entry;
        services.dataFolder = m_dataDir.path();
        TSettings settings;
        SettingsPages pages(settings, services);
        TNastavDlg& window = pages.window();
        RecordingErrorReporter reporter;
        settings.PoSpusteni.START = true;
        settings.Tisk.Text[7] = QStringLiteral("poslední");
        window.syncFromSettings();
        QCOMPARE(reporter.messages(), QStringList{QStringLiteral("nelze")});
        QCOMPARE(window.findChild<QLineEdit*>(QStringLiteral("Text8"))->text(), QStringLiteral("poslední"));
    }

    void okWritesEveryKeyAndTheFileReadsBackEqual() {
        const QString file = m_dataDir.path() + QStringLiteral("/tarvolin.ini");
        control<QSpinBox>(dialog(), "DelkaTrate")->setValue(812);
        control<QLineEdit>(dialog(), "Text1")->setText(QStringLiteral("Motokáry Žďár"));
        control<QListWidget>(dialog(), "CervenaBit")->item(0)->setCheckState(Qt::Checked);
        control<QRadioButton>(dialog(), "LPT2_Start")->click();
        control<QCheckBox>(dialog(), "cbNoHesla")->setChecked(false);
        control<QLineEdit>(dialog(), "FtpHeslo")->setText(QStringLiteral("tajné"));
        m_settings.Com.Sekvence[3] = QByteArray("*Ab");
        dialog().syncFromSettings();
        QTimer::singleShot(0, this, [&] { control<QPushButton>(dialog(), "OK_BitBtn")->click(); });
        QCOMPARE(dialog().execFromMainWindow(), int(QDialog::Accepted));
        QVERIFY(QFile::exists(file));

        IniFile ini;
        QVERIFY(ini.load(file));
        QCOMPARE(ini.readInt(QStringLiteral("Trat"), QStringLiteral("delka"), 0), 812);
        QCOMPARE(ini.readInt(QStringLiteral("Semafor"), QStringLiteral("Port"), 0), 2);
        QCOMPARE(ini.readInt(QStringLiteral("Semafor"), QStringLiteral("Cervena"), 0), 1);
        QVERIFY(ini.contains(QStringLiteral("Po spusteni"), QStringLiteral("Start")));
        QVERIFY(ini.contains(QStringLiteral("Zvuk"), QStringLiteral("Jmeno")));

        TSettings readBack;
        SerialParameters serial;
        ReadSettingsFile(DataFolder(m_dataDir.path()), readBack, serial);
        QCOMPARE(readBack.Tisk.Text[0], QStringLiteral("Motokáry Žďár"));
        QCOMPARE(readBack.Ftp.Heslo, QStringLiteral("tajné"));
        QCOMPARE(keysOf(readBack), keysOf(m_settings));
    }

    void cancelLeavesTheFileAsItWas() {
        const QString file = m_dataDir.path() + QStringLiteral("/tarvolin.ini");
        QFile out(file);
        QVERIFY(out.open(QIODevice::WriteOnly));
        out.write("[Trat]\r\ndelka=400\r\n");
        out.close();
        // Without a logo the notice comes up.
        QTimer::singleShot(0, this, [] {
            if (QWidget* notice = QApplication::activeModalWidget())
                notice->findChild<QPushButton*>(QStringLiteral("OKBtn"))->click();
        });
        dialog().readSettingsFile();
        QCOMPARE(control<QSpinBox>(dialog(), "DelkaTrate")->value(), 400);
        QTimer::singleShot(0, this, [&] {
            control<QSpinBox>(dialog(), "DelkaTrate")->setValue(812);
            control<QPushButton>(dialog(), "btn_Zrus")->click();
        });
        QCOMPARE(dialog().execFromMainWindow(), int(QDialog::Rejected));
        QFile in(file);
        QVERIFY(in.open(QIODevice::ReadOnly));
        QCOMPARE(in.readAll(), QByteArray("[Trat]\r\ndelka=400\r\n"));
        QCOMPARE(m_settings.Trat.delka, 812); // the edit stays in effect
    }

    // A text the file's code page cannot hold is named, its page shown, and nothing is written.
    void okRefusesATextWindows1250CannotHold() {
        const QString file = m_dataDir.path() + QStringLiteral("/tarvolin.ini");
        const auto bytes = [&file] {
            QFile in(file);
            return in.open(QIODevice::ReadOnly) ? in.readAll() : QByteArray("(none)");
        };
        const QByteArray before = bytes();
        control<QLineEdit>(dialog(), "FtpHostitel")->setText(QStringLiteral("Ørsted.example.cz"));
        MessageBoxAnswerer answerer;
        QTimer::singleShot(0, this, [&] {
            control<QPushButton>(dialog(), "OK_BitBtn")->click();
            QVERIFY(dialog().isVisible());
            control<QPushButton>(dialog(), "btn_Zrus")->click();
        });
        dialog().execOnPage(&m_pages->startup());
        QCOMPARE(answerer.texts().size(), 1);
        QVERIFY(answerer.texts().at(0).contains(QStringLiteral("„Ø“")));
        QCOMPARE(bytes(), before);
        QCOMPARE(control<QTabWidget>(dialog(), "PageControl1")->currentWidget(), &m_pages->ftp());
    }

    void passwordNotKeptIsStoredEmpty() {
        control<QCheckBox>(dialog(), "cbNoHesla")->setChecked(true);
        control<QLineEdit>(dialog(), "FtpHeslo")->setText(QStringLiteral("tajne"));
        QTimer::singleShot(0, this, [&] { control<QPushButton>(dialog(), "OK_BitBtn")->click(); });
        dialog().execOnPage(&m_pages->ftp());
        IniFile ini;
        QVERIFY(ini.load(m_dataDir.path() + QStringLiteral("/tarvolin.ini")));
        QVERIFY(ini.contains(QStringLiteral("Ftp"), QStringLiteral("Heslo")));
        QCOMPARE(ini.readString(QStringLiteral("Ftp"), QStringLiteral("Heslo"), QStringLiteral("x")),
                 QString());
        QCOMPARE(control<QLineEdit>(dialog(), "FtpHeslo")->text(), QString());
    }

    void savingWritesTheRestingValueAtTheStartPort() {
        m_port->setOpened(true);
        control<QRadioButton>(dialog(), "LPT2_Start")->click();
        control<QListWidget>(dialog(), "LptBit")->item(1)->setCheckState(Qt::Checked);
        QTimer::singleShot(0, this, [&] { control<QPushButton>(dialog(), "OK_BitBtn")->click(); });
        dialog().execFromMainWindow();
        QVERIFY(!m_backend->writes.isEmpty());
        QCOMPARE(m_backend->writes.last(), (QPair<quint16, quint8>(632, 2)));
    }

    void onTopChangeOffersToQuit() {
        int quits = 0;
        dialog().hooks().closeMainWindow = [&] { ++quits; };
        QTimer::singleShot(0, this, [&] {
            control<QCheckBox>(dialog(), "OnTopBox")->setChecked(true);
            // The notice comes up inside OK; its default button quits.
            QTimer::singleShot(0, this, [&] {
                QWidget* notice = QApplication::activeModalWidget();
                QVERIFY(notice && notice->objectName() == QStringLiteral("TVzdyNavrchuDlg"));
                notice->findChild<QPushButton*>(QStringLiteral("UkoncitBtn"))->click();
            });
            control<QPushButton>(dialog(), "OK_BitBtn")->click();
        });
        dialog().execFromMainWindow();
        QCOMPARE(quits, 1);

        // Saved again without a change since the activation: no notice.
        QTimer::singleShot(0, this, [&] { control<QPushButton>(dialog(), "OK_BitBtn")->click(); });
        dialog().execFromMainWindow();
        QCOMPARE(quits, 1);
    }

    void missingLogoShowsTheNotice() {
        m_settings.Tisk.Logo = QStringLiteral("/nowhere/logo.png");
        QString notice;
        QTimer::singleShot(0, this, [&] {
            QWidget* modal = QApplication::activeModalWidget();
            notice = modal ? modal->objectName() : QString();
            if (modal)
                modal->findChild<QPushButton*>(QStringLiteral("OKBtn"))->click();
        });
        dialog().readSettingsFile();
        QCOMPARE(notice, QStringLiteral("TLogoErrDlg"));
        QCOMPARE(m_settings.Tisk.Logo, QString());
    }

    void repeatReadingFollowsTheField() {
        m_port->setOpened(true);
        dialog().show();
        auto* repeat = control<QCheckBox>(dialog(), "OpakujBox");
        // Two register reads per reading.
        auto readingsIn = [&](qint64 ms) {
            const int before = m_backend->reads;
            m_scheduler.advance(ms);
            return (m_backend->reads - before) / 2;
        };
        repeat->setChecked(true);
        QCOMPARE(m_pages->portTest().portTester()->OpakujCteniTimer().interval(), quint32(100));
        QCOMPARE(readingsIn(1000), 10);
        // The operator types 50 over the 50 shown.
        auto* field = control<QSpinBox>(dialog(), "SpinEdit1");
        QCOMPARE(field->value(), 50);
        field->selectAll();
        QTest::keyClicks(field, QStringLiteral("50"));
        QCOMPARE(m_pages->portTest().portTester()->OpakujCteniTimer().interval(), quint32(50));
        QCOMPARE(readingsIn(1000), 20);
        repeat->setChecked(false);
        QCOMPARE(readingsIn(300), 0);
        dialog().hide();
    }

    void readingShowsThePins() {
        m_backend->status = 0x88; // pins 15 and 11
        control<QPushButton>(dialog(), "btn_Port")->click();
        QCOMPARE(control<QPushButton>(dialog(), "btn_Port")->text(), QStringLiteral("Zavřít port"));
        QVERIFY(m_port->Opened());
        control<QRadioButton>(dialog(), "LPT2")->click();
        QCOMPARE(m_port->portBase(), quint16(632));
        control<QPushButton>(dialog(), "CtiPort")->click();
        QVERIFY(control<QCheckBox>(dialog(), "Bit0")->isChecked());
        QVERIFY(!control<QCheckBox>(dialog(), "Bit1")->isChecked());
        QVERIFY(control<QCheckBox>(dialog(), "Bit2")->isChecked());
        QVERIFY(control<QCheckBox>(dialog(), "Error")->isChecked());
        QVERIFY(!control<QCheckBox>(dialog(), "Select")->isChecked());
        QVERIFY(control<QCheckBox>(dialog(), "Busy")->isChecked());
        control<QSpinBox>(dialog(), "LPTValue")->setValue(200);
        control<QPushButton>(dialog(), "UlozPort")->click();
        QCOMPARE(m_backend->writes.last(), (QPair<quint16, quint8>(632, 200)));
        control<QPushButton>(dialog(), "btn_Port")->click();
        QVERIFY(!m_port->Opened());
        QCOMPARE(control<QPushButton>(dialog(), "btn_Port")->text(), QStringLiteral("Otevřít port"));
    }

    void serialPageFollowsThePortAndTheLearning() {
        TComPort comPort;
        SerialParameters parameters = comPort.parameters();
        parameters.BaudRate = QStringLiteral("19200");
        parameters.Parity = QStringLiteral("Even");
        comPort.setParameters(parameters);
        FakeSerial serial;
        TSettings settings;
        SerialLearnPanel panel(settings, serial);
        SettingsPages::Services services;
        services.comPort = &comPort;
        services.learnPanel = &panel;
        services.dataFolder = m_dataDir.path();
        SettingsPages pages(settings, services);
        TNastavDlg& window = pages.window();
        window.show();
        QCOMPARE(window.findChild<QComboBox*>(QStringLiteral("ComComboBox2"))->currentText(),
                 QStringLiteral("19200"));
        QCOMPARE(window.findChild<QComboBox*>(QStringLiteral("ComComboBox5"))->currentText(),
                 QStringLiteral("Even"));
        QCOMPARE(window.findChild<QComboBox*>(QStringLiteral("ComComboBox1"))->currentText(),
                 QStringLiteral("COM1"));

        auto* learn = window.findChild<QPushButton*>(QStringLiteral("btnNaucit21"));
        learn->click();
        QCOMPARE(learn->text(), QStringLiteral("&Ukonči"));
        QVERIFY(serial.isOpen());
        QVERIFY(!window.findChild<QPushButton*>(QStringLiteral("OK_BitBtn"))->isEnabled());
        QVERIFY(!window.findChild<QPushButton*>(QStringLiteral("btnNaucit1"))->isEnabled());
        panel.takeLearnedBurst(QByteArray("*Ab"));
        QCOMPARE(window.findChild<QLineEdit*>(QStringLiteral("EdSekvence21"))->text(), QStringLiteral("*Ab"));
        QCOMPARE(learn->text(), QStringLiteral("Naučit"));
        QVERIFY(window.findChild<QPushButton*>(QStringLiteral("OK_BitBtn"))->isEnabled());
        QVERIFY(window.findChild<QPushButton*>(QStringLiteral("btnNaucit1"))->isEnabled());

        window.findChild<QPushButton*>(QStringLiteral("btnCtiData"))->click();
        QCOMPARE(window.findChild<QPushButton*>(QStringLiteral("btnCtiData"))->text(),
                 QStringLiteral("Ukonči čtení"));
        panel.showCaptured(QByteArray("xyz"));
        QCOMPARE(window.findChild<QLineEdit*>(QStringLiteral("TestSekvence"))->text(), QStringLiteral("xyz"));
        window.findChild<QPushButton*>(QStringLiteral("btnCtiData"))->click();
        QVERIFY(!serial.isOpen());
        window.hide();
    }

    void confirmButtonsCanBeDisabled() {
        dialog().setConfirmEnabled(false);
        QVERIFY(!control<QPushButton>(dialog(), "OK_BitBtn")->isEnabled());
        QVERIFY(!control<QPushButton>(dialog(), "btn_Zrus")->isEnabled());
        dialog().setConfirmEnabled(true);
        QVERIFY(control<QPushButton>(dialog(), "OK_BitBtn")->isEnabled());
    }

    void activationClearsRepeatAndRemembersOnTop() {
        PortTester* tester = m_pages->portTest().portTester();
        control<QCheckBox>(dialog(), "OpakujBox")->setChecked(true);
        QVERIFY(tester->repeating());
        control<QCheckBox>(dialog(), "OnTopBox")->setChecked(true);
        dialog().show();
        QVERIFY(!control<QCheckBox>(dialog(), "OpakujBox")->isChecked());
        QVERIFY(!tester->repeating());
        QVERIFY(dialog().onTopAtActivation());
        QVERIFY(!dialog().onTopChangedSinceActivation());
        control<QCheckBox>(dialog(), "OnTopBox")->setChecked(false);
        QVERIFY(dialog().onTopChangedSinceActivation());
        control<QCheckBox>(dialog(), "OpakujBox")->setChecked(true);
        dialog().hide();
        QVERIFY(!tester->repeating());
    }

    void portButtonCaptionFollowsThePortWhenShown() {
        m_port->setOpened(true);
        dialog().show();
        QCOMPARE(control<QPushButton>(dialog(), "btn_Port")->text(), QStringLiteral("Zavřít port"));
        dialog().hide();
        m_port->setOpened(false);
        dialog().show();
        QCOMPARE(control<QPushButton>(dialog(), "btn_Port")->text(), QStringLiteral("Otevřít port"));
        dialog().hide();
    }

    void sensorSourceKeepsExactlyOneChoice() {
        m_port->setOpened(true);
        control<QCheckBox>(dialog(), "cbCOM")->click();
        QVERIFY(!control<QCheckBox>(dialog(), "cbLPT")->isChecked());
        QVERIFY(m_settings.PoSpusteni.COM);
        QVERIFY(!m_settings.PoSpusteni.LPT);
        control<QCheckBox>(dialog(), "cbLPT")->click();
        QVERIFY(!control<QCheckBox>(dialog(), "cbCOM")->isChecked());
        QVERIFY(m_settings.PoSpusteni.LPT);
    }

    void startEntryIsWrittenAtOnceAndKeptOnCancel() {
        QTemporaryDir home;
        XdgStartEntry entry(XdgPaths::underHome(home.path()));
        SettingsPages::Services services;
        services.startEntry = &entry;
        services.dataFolder = m_dataDir.path();
        services.programPath = QStringLiteral("/opt/tarvolin/tarvolin");
        TSettings settings;
        SettingsPages pages(settings, services);
        TNastavDlg& window = pages.window();
        QVERIFY(!entry.isEnabled());

        QTimer::singleShot(0, this, [&] {
            window.findChild<QCheckBox*>(QStringLiteral("po_spusteni"))->click();
            QVERIFY(entry.isEnabled()); // before OK
            window.findChild<QPushButton*>(QStringLiteral("btn_Zrus"))->click();
        });
        window.execFromMainWindow();
        QVERIFY(entry.isEnabled());
        QVERIFY(settings.PoSpusteni.START);
        QVERIFY(window.findChild<QCheckBox*>(QStringLiteral("po_spusteni"))->isChecked());

        window.findChild<QCheckBox*>(QStringLiteral("po_spusteni"))->click();
        QVERIFY(!entry.isEnabled());
    }

    void loadedStartSettingRewritesTheEntry() {
        QTemporaryDir home;
        XdgStartEntry entry(XdgPaths::underHome(home.path()));
        SettingsPages::Services services;
        services.startEntry = &entry;
        services.dataFolder = m_dataDir.path();
        services.programPath = QStringLiteral("/new/place/tarvolin");
        TSettings settings;
        SettingsPages pages(settings, services);
        TNastavDlg& window = pages.window();
        settings.PoSpusteni.START = true;
        window.syncFromSettings();
        QFile file(entry.filePath());
        QVERIFY(file.open(QIODevice::ReadOnly));
        QVERIFY(file.readAll().contains("Exec=\"/new/place/tarvolin\""));
    }

    void soundTreeListsSoundFilesOnlyAndSelectsTheSetting() {
        const QString zvuky = m_dataDir.path() + QStringLiteral("/zvuky");
        touch(zvuky + QStringLiteral("/success.wav"));
        touch(zvuky + QStringLiteral("/Konec.WAV"));
        touch(zvuky + QStringLiteral("/hudba.mp3"));
        touch(zvuky + QStringLiteral("/readme.txt"));
        touch(zvuky + QStringLiteral("/prg/applause.wav"));
        m_settings.Zvuk.jmeno = QStringLiteral("konec.wav");
        dialog().syncFromSettings();
        auto* tree = control<QTreeWidget>(dialog(), "Cesta_Box");
        QStringList names;
        for (int i = 0; i < tree->topLevelItemCount(); ++i)
            names << tree->topLevelItem(i)->text(0);
        QCOMPARE(names, (QStringList{QStringLiteral("hudba.mp3"), QStringLiteral("Konec.WAV"),
                                     QStringLiteral("success.wav")}));
        QCOMPARE(tree->currentItem()->text(0), QStringLiteral("Konec.WAV"));
        QCOMPARE(m_settings.Zvuk.jmeno, QStringLiteral("Konec.WAV"));

        // An unknown name falls back to "success.wav".
        m_settings.Zvuk.jmeno = QStringLiteral("gone.wav");
        dialog().syncFromSettings();
        QCOMPARE(tree->currentItem()->text(0), QStringLiteral("success.wav"));
        QCOMPARE(m_settings.Zvuk.jmeno, QStringLiteral("success.wav"));

        tree->setCurrentItem(tree->topLevelItem(0));
        QCOMPARE(m_settings.Zvuk.jmeno, QStringLiteral("hudba.mp3"));
    }

    void selectedSoundPathIsShownShortened() {
        // A data folder deep enough that the path is longer than 63 characters.
        const QString deep = m_dataDir.path() + QStringLiteral("/") + QString(70, QLatin1Char('d'));
        touch(deep + QStringLiteral("/zvuky/success.wav"));
        SettingsPages::Services services;
        services.dataFolder = deep;
        TSettings settings;
        SettingsPages pages(settings, services);
        TNastavDlg& window = pages.window();
        const QString path = deep + QStringLiteral("/zvuky/success.wav");
        QCOMPARE(window.findChild<QLineEdit*>(QStringLiteral("Adresar"))->text(),
                 QStringLiteral(" ..") + path.right(63));
        QVERIFY(!window.findChild<QLineEdit*>(QStringLiteral("Adresar"))->isEnabled());
    }

    void soundTestPlaysTheSelectedFile() {
        touch(m_dataDir.path() + QStringLiteral("/zvuky/success.wav"));
        FakePlayer player;
        SettingsPages::Services services;
        services.soundPlayer = &player;
        services.dataFolder = m_dataDir.path();
        TSettings settings;
        SettingsPages pages(settings, services);
        TNastavDlg& window = pages.window();
        window.findChild<QPushButton*>(QStringLiteral("PlayButton2"))->click();
        QCOMPARE(player.calls, (QStringList{QStringLiteral("close"), QStringLiteral("file"),
                                            QStringLiteral("open"), QStringLiteral("play")}));
        QCOMPARE(player.file, m_dataDir.path() + QStringLiteral("/zvuky/success.wav"));
        window.findChild<QPushButton*>(QStringLiteral("Button2"))->click();
        QCOMPARE(player.calls.last(), QStringLiteral("close"));
    }

    void logoIsChosenLoadedAndCancelChangesNothing() {
        const QString logo = m_dataDir.path() + QStringLiteral("/Logo/firma.png");
        QDir().mkpath(m_dataDir.path() + QStringLiteral("/Logo"));
        QImage picture(200, 50, QImage::Format_RGB32);
        picture.fill(Qt::red);
        QVERIFY(picture.save(logo));
        QString startFolder;
        QString answer;
        m_pages->print().hooks().chooseLogoFile = [&](const QString& start) {
            startFolder = start;
            return answer;
        };
        control<QPushButton>(dialog(), "Nacti1")->click(); // cancelled
        QCOMPARE(startFolder, m_dataDir.path() + QStringLiteral("/Logo"));
        QCOMPARE(m_settings.Tisk.Logo, QString());

        answer = logo;
        control<QPushButton>(dialog(), "Nacti1")->click();
        QCOMPARE(m_settings.Tisk.Logo, logo);
        auto* view = control<LogoView>(dialog(), "LogoImage1");
        view->resize(300, 300);
        QVERIFY(!view->picture().isNull());
        // Proportions kept (4:1) and centred vertically.
        const QRect drawn = view->pictureRect();
        QVERIFY(qAbs(drawn.width() - drawn.height() * 4) <= 4);
        QVERIFY(qAbs(drawn.center().y() - view->contentsRect().center().y()) <= 1);
    }

    void aLogoThatIsNoPictureIsReportedAndTheChoiceStays() {
        const QString notAPicture = m_dataDir.path() + QStringLiteral("/Logo/firma.png");
        touch(notAPicture);
        m_pages->print().hooks().chooseLogoFile = [&](const QString&) { return notAPicture; };
        dialog().show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog()));
        control<QTabWidget>(dialog(), "PageControl1")->setCurrentWidget(control<QWidget>(dialog(), "tbTisk"));
        RecordingErrorReporter reporter;
        auto* button = control<QPushButton>(dialog(), "Nacti1");
        QTest::mouseClick(button, Qt::LeftButton);
        QCOMPARE(reporter.messages(), QStringList{QStringLiteral("Soubor %1 není obrázek, který lze načíst.")
                                                      .arg(QDir::toNativeSeparators(notAPicture))});
        QVERIFY(!button->isDown());
        QCOMPARE(m_settings.Tisk.Logo, notAPicture);
        // The window goes on: the next choice is a picture and loads.
        QImage picture(40, 10, QImage::Format_RGB32);
        picture.fill(Qt::blue);
        const QString logo = m_dataDir.path() + QStringLiteral("/Logo/obrazek.png");
        QVERIFY(picture.save(logo));
        m_pages->print().hooks().chooseLogoFile = [&](const QString&) { return logo; };
        QTest::mouseClick(button, Qt::LeftButton);
        QCOMPARE(reporter.count(), 1);
        QCOMPARE(m_settings.Tisk.Logo, logo);
        dialog().hide();
    }

    void aBadPortBaseOnTheTestPageIsReportedAndStopsTheRepetition() {
        RecordingErrorReporter reporter;
        const QString expected = QStringLiteral("'$nope' is not a valid integer value");
        m_port->setOpened(true);
        dialog().show();
        control<QLineEdit>(dialog(), "LPTxx_BASE")->setText(QStringLiteral("nope"));
        control<QRadioButton>(dialog(), "LPTxx")->click();
        QCOMPARE(reporter.messages(), QStringList{expected});
        // The repeated reading takes the same base: its first tick reports and unticks the box.
        auto* repeat = control<QCheckBox>(dialog(), "OpakujBox");
        repeat->setChecked(true);
        QVERIFY(m_scheduler.advanceUntil([&] { return !repeat->isChecked(); }, 1000));
        QCOMPARE(reporter.messages(), (QStringList{expected, expected}));
        QVERIFY(!m_pages->portTest().portTester()->repeating());
        // With a good base the reading works again.
        control<QLineEdit>(dialog(), "LPTxx_BASE")->setText(QStringLiteral("378"));
        control<QPushButton>(dialog(), "CtiPort")->click();
        QCOMPARE(m_port->portBase(), quint16(0x378));
        QCOMPARE(reporter.count(), 2);
        dialog().hide();
    }

    // Not a check: with TARVOLIN_SHOTS_DIR set (under an X server) it shows the window on each page and
    // captures the screen, for looking over the layout.
    void screenshotsOfEveryPage() {
        const QString shots = qEnvironmentVariable("TARVOLIN_SHOTS_DIR");
        if (shots.isEmpty())
            QSKIP("TARVOLIN_SHOTS_DIR not set");
        touch(m_dataDir.path() + QStringLiteral("/zvuky/success.wav"));
        touch(m_dataDir.path() + QStringLiteral("/zvuky/konec_zavodu.wav"));
        m_settings.Ftp.Heslo = QStringLiteral("heslo");
        dialog().syncFromSettings();
        dialog().move(10, 10);
        dialog().show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog()));
        auto* pages = control<QTabWidget>(dialog(), "PageControl1");
        for (int i = 0; i < pages->count(); ++i) {
            pages->setCurrentIndex(i);
            // Painted now, and the display server has taken it before the screen is captured.
            dialog().repaint();
            QGuiApplication::sync();
            const QString file = QStringLiteral("%1/page%2.png").arg(shots).arg(i + 1);
            QCOMPARE(QProcess::execute(QStringLiteral("import"),
                                       {QStringLiteral("-window"), QStringLiteral("root"), file}),
                     0);
        }
        dialog().hide();
    }

    void laterPartsAreReachedThroughHooks() {
        QStringList called;
        auto& startup = m_pages->startup().hooks();
        auto& ftp = m_pages->ftp().hooks();
        startup.resetBestTwenty = [&] { called << QStringLiteral("VynulujTab"); };
        startup.showBackup = [&] { called << QStringLiteral("Zalohuj_data"); };
        m_pages->print().hooks().showResultsPreview = [&] { called << QStringLiteral("NahledBtn"); };
        ftp.ftpSend = [&] { called << QStringLiteral("btnPosliFtp"); };
        ftp.ftpBoxClicked = [&](int box) { called << QStringLiteral("cbFtp%1").arg(box); };
        for (const char* name : {"VynulujTab", "Zalohuj_data", "NahledBtn", "btnPosliFtp"})
            control<QPushButton>(dialog(), name)->click();
        control<QCheckBox>(dialog(), "cbFtp5")->click();
        QCOMPARE(called, (QStringList{QStringLiteral("VynulujTab"), QStringLiteral("Zalohuj_data"),
                                      QStringLiteral("NahledBtn"), QStringLiteral("btnPosliFtp"),
                                      QStringLiteral("cbFtp5")}));
        QVERIFY(m_settings.Ftp.Posilat[4]);

        // Unfilled hooks do nothing.
        startup = StartupPage::Hooks();
        control<QPushButton>(dialog(), "VynulujTab")->click();
        control<QPushButton>(dialog(), "OpravLPT")->click();
    }
};

QTEST_MAIN(NastaveniTest)
#include "NastaveniTest.moc"
