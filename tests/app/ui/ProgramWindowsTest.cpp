// The program's windows wired together: a STOP keeps the race's driving in "stav.ini" (the kart
// state window never shown) and its best lap in the best-twenty table, the reminders come at start-up, and
// the close writes the driven times.
#include "RecordingErrorReporter.h"
#include "TempDataFolder.h"

#include "app/CommandLineOptions.h"
#include "app/ui/ProgramWindows.h"
#include "backup/ui/zalohovani.h"
#include "config/IniFile.h"
#include "config/TextCodec.h"
#include "config/ui/nastaveni.h"
#include "display/LiveResults.h"
#include "display/ui/TV_OUT.h"
#include "timing/LapList.h"
#include "timing/TRace.h"
#include "timing/ui/SevenSegmentDisplay.h"
#include "timing/ui/hwunit.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QDeadlineTimer>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSpinBox>
#include <QStatusBar>
#include <QTabWidget>
#include <QTableWidget>
#include <QTcpServer>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

namespace {

// Closes each modal window as it comes up, and names it.
class ModalCloser : public QObject {
public:
    ModalCloser() {
        connect(&m_timer, &QTimer::timeout, this, [this] {
            if (QWidget* modal = QApplication::activeModalWidget()) {
                m_closed << modal->objectName();
                static_cast<QDialog*>(modal)->accept();
            }
        });
        m_timer.start(10);
    }
    const QStringList& closed() const { return m_closed; }

private:
    QTimer m_timer;
    QStringList m_closed;
};

// The program on data's folder, with the virtual track and an empty scenario.
CommandLineOptions stationOn(TempDataFolder& data) {
    return CommandLineOptions::parse(
        {QStringLiteral("tarvolin"), QStringLiteral("--data"), data.path(),
         QStringLiteral("--simulate=") + data.writeFile(QStringLiteral("z.txt"), "")});
}

QByteArray withLogo(const QByteArray& settings) {
    return settings + "[Tisk]\r\nLogo=" TARVOLIN_SOURCE_DIR "/data/Logo/logo.png\r\n";
}

quint16 freePort() {
    QTcpServer free;
    free.listen(QHostAddress::Any, 0);
    return free.serverPort();
}

QString najeto(const QString& path, int kart) {
    IniFile ini;
    ini.load(path);
    return ini.readString(QStringLiteral("Motokara%1").arg(kart), QStringLiteral("Najeto"), QString());
}

} // namespace

class ProgramWindowsTest : public QObject {
    Q_OBJECT

private slots:
    void aStopKeepsTheMinutesAndTheBestLapAndTheCloseKeepsTheDrivenTimes() {
        TempDataFolder data;
        data.writeFile(
            QStringLiteral("tarvolin.ini"),
            "[Semafor]\r\nPouzij=0\r\n[Zvuk]\r\nHrat=0\r\nApplaus=0\r\n[Ostatni]\r\nUlozitZavody=0\r\n"
            "[Tisk]\r\nLogo=" TARVOLIN_SOURCE_DIR "/data/Logo/logo.png\r\n");
        // Kart 3 was driven 9:45 before; its task of every 10 hours is due at start-up.
        data.writeFile(QStringLiteral("stav.ini"),
                       "[Motokara3]\r\nNajeto=9:45\r\nUkol1=1\r\nUkolHodin1=10\r\n"
                       "Text1=Olej\r\n[Motokara9]\r\nCizi=1\r\n");
        RecordingErrorReporter errors;
        ModalCloser closer;
        ProgramWindows windows(stationOn(data));
        TForm1& form = windows.mainWindow();
        form.FormActivate();
        QVERIFY2(closer.closed().isEmpty(), "no reminder is due at start-up");

        TRace& race = form.race();
        race.StartButton1Click();
        QVERIFY(race.running());
        // The race's laps as the lists hold them at STOP: 3 min 2 s for kart 1, 65.9 s for kart 3.
        form.lapList(1).setEntries({QStringLiteral("01:31:000"), QStringLiteral("01:31:999")});
        form.lapList(3).setEntries({QStringLiteral("00:65:999")});
        form.findChild<QCheckBox*>(QStringLiteral("ZenaBox3"))->setChecked(true);
        race.StartButton1Click();
        QVERIFY(!race.running());

        const QString stav = data.filePath(QStringLiteral("stav.ini"));
        QCOMPARE(najeto(stav, 1), QStringLiteral("0:3"));
        QCOMPARE(najeto(stav, 3), QStringLiteral("9:46"));
        QCOMPARE(najeto(stav, 2), QStringLiteral("0:0"));
        IniFile kept;
        QVERIFY(kept.load(stav));
        QCOMPARE(kept.readInt(QStringLiteral("Motokara1"), QStringLiteral("Sekundy"), -1), 2);
        QVERIFY(data.readFile(QStringLiteral("stav.ini")).contains("[Motokara9]\r\nCizi=1\r\n"));
        const QDate today = race.startWallTime().date();
        QCOMPARE(TextCodec::decodeLines(data.readFile(QStringLiteral("TopDeset.ini"))).first(),
                 QStringLiteral("1\tkara1\t01:31:000\t") + today.toString(Qt::ISODate));
        QCOMPARE(TextCodec::decodeLines(data.readFile(QStringLiteral("TopDeset1.ini"))).first(),
                 QStringLiteral("1\tkara3\t01:05:999\t") + today.toString(Qt::ISODate));
        QVERIFY(closer.closed().contains(QStringLiteral("TopTen10Frm")));
        form.StatistikaClick();
        QVERIFY(closer.closed().contains(QStringLiteral("Stat_Dlg")));
        QVERIFY2(errors.messages().isEmpty(), qPrintable(errors.messages().join(QLatin1Char('\n'))));

        // At close only the driven times are written.
        data.writeFile(QStringLiteral("stav.ini"), "[Motokara1]\r\nNajeto=0:0\r\nPocatecniStavHod=5\r\n");
        form.close();
        QCOMPARE(najeto(stav, 1), QStringLiteral("0:3"));
        QVERIFY(data.readFile(QStringLiteral("stav.ini"))
                    .startsWith("[Motokara1]\r\nNajeto=0:3\r\nPocatecniStavHod=5\r\n"));
    }

    // The settings window holds every area's page in their order. From the main window's button, Cancel
    // stores the serial line's section alone; OK stores what the pages of several areas edited.
    void theSettingsWindowStoresWhatEveryAreasPageEdits() {
        TempDataFolder data;
        data.writeFile(QStringLiteral("tarvolin.ini"),
                       "[Tisk]\r\nLogo=" TARVOLIN_SOURCE_DIR "/data/Logo/logo.png\r\n");
        RecordingErrorReporter errors;
        ProgramWindows windows(stationOn(data));
        TForm1& form = windows.mainWindow();
        form.FormActivate();
        TNastavDlg& settingsWindow = windows.settingsWindow();
        auto* tabs = settingsWindow.findChild<QTabWidget*>(QStringLiteral("PageControl1"));
        QStringList titles;
        for (int i = 0; i < tabs->count(); ++i)
            titles << tabs->tabText(i);
        QCOMPARE(titles,
                 (QStringList{QStringLiteral("Po spuštění"), QStringLiteral("Semafor"),
                              QStringLiteral("Zvuky"), QStringLiteral("Tisk"), QStringLiteral("TV výstup"),
                              QStringLiteral("Hw. řízení na LPT portu"), QStringLiteral("COM porty"),
                              QStringLiteral("Ftp klient"), QStringLiteral("Testování"),
                              QStringLiteral("Závod"), QStringLiteral("Hlas"),
                              QStringLiteral("MQTT")}));
        auto edit = [&](const char* button) {
            QTimer::singleShot(0, &settingsWindow, [&settingsWindow, button] {
                settingsWindow.findChild<QSpinBox*>(QStringLiteral("DelkaTrate"))->setValue(812);
                settingsWindow.findChild<QSpinBox*>(QStringLiteral("SpinLOG0"))->setValue(400);
                settingsWindow.findChild<QLineEdit*>(QStringLiteral("FtpHostitel"))
                    ->setText(QStringLiteral("ftp.example.cz"));
                settingsWindow.findChild<QAbstractButton*>(QLatin1String(button))->click();
            });
            form.findChild<QPushButton*>(QStringLiteral("Nastaveni_Button"))->click();
        };
        const QString file = data.filePath(QStringLiteral("tarvolin.ini"));
        edit("btn_Zrus");
        IniFile ini;
        QVERIFY(ini.load(file));
        QVERIFY(ini.hasSection(QStringLiteral("ComPort1")));
        QVERIFY(!ini.hasSection(QStringLiteral("Trat")));
        edit("OK_BitBtn");
        IniFile saved;
        QVERIFY(saved.load(file));
        QCOMPARE(saved.readInt(QStringLiteral("Trat"), QStringLiteral("delka"), 0), 812);
        QCOMPARE(saved.readInt(QStringLiteral("HW"), QStringLiteral("LOG0"), 0), 400);
        QCOMPARE(saved.readString(QStringLiteral("Ftp"), QStringLiteral("Hostitel"), QString()),
                 QStringLiteral("ftp.example.cz"));
        QVERIFY2(errors.messages().isEmpty(), qPrintable(errors.messages().join(QLatin1Char('\n'))));
    }

    void aMissingApplauseIsSaidOnceAndTheRecordStillEntersAndShows() {
        TempDataFolder data;
        data.writeFile(QStringLiteral("tarvolin.ini"),
                       "[Semafor]\r\nPouzij=0\r\n[Zvuk]\r\nHrat=0\r\nApplaus=1\r\n"
                       "[Ostatni]\r\nUlozitZavody=0\r\n");
        RecordingErrorReporter errors;
        ModalCloser closer;
        ProgramWindows windows(stationOn(data));
        TForm1& form = windows.mainWindow();
        form.FormActivate();
        TRace& race = form.race();
        race.StartButton1Click();
        form.lapList(2).setEntries({QStringLiteral("00:50:000")});
        race.StartButton1Click();
        QVERIFY(!race.running());
        QVERIFY(TextCodec::decodeLines(data.readFile(QStringLiteral("TopDeset.ini")))
                    .first()
                    .startsWith(QStringLiteral("1\tkara2\t00:50:000")));
        QVERIFY(closer.closed().contains(QStringLiteral("TopTen10Frm")));
        QCOMPARE(errors.count(), 1);
        QVERIFY2(errors.messages().first().contains(QStringLiteral("applause.wav")),
                 qPrintable(errors.messages().first()));
    }

    void aRestoreEndsTheProgramAndLeavesTheRestoredKartStates() {
        TempDataFolder data;
        data.writeFile(QStringLiteral("tarvolin.ini"), "[Semafor]\r\nPouzij=0\r\n[Zvuk]\r\nHrat=0\r\n");
        data.writeFile(QStringLiteral("stav.ini"), "[Motokara1]\r\nNajeto=7:0\r\n");
        RecordingErrorReporter errors;
        ModalCloser closer;
        ProgramWindows windows(stationOn(data));
        TForm1& form = windows.mainWindow();
        form.FormActivate();
        QSignalSpy closed(&form, &TForm1::closed);

        // The running program holds 7:00 from the start; the archive holds 9:00.
        TZalohujFrm& backup = windows.backupWindow();
        backup.hooks().message = [](const QString&) {};
        backup.show();
        data.writeFile(QStringLiteral("stav.ini"), "[Motokara1]\r\nNajeto=9:0\r\n");
        backup.Backupfile1().BackupFiles({data.filePath(QStringLiteral("stav.ini"))},
                                         data.filePath(QStringLiteral("zaloha/devet.bck")));
        backup.FormActivate();
        auto* archives = backup.findChild<QListWidget*>(QStringLiteral("FileListBox1"));
        archives->setCurrentItem(archives->findItems(QStringLiteral("devet.bck"), Qt::MatchExactly).value(0));
        data.writeFile(QStringLiteral("stav.ini"), "[Motokara1]\r\nNajeto=1:0\r\n");
        backup.findChild<QPushButton*>(QStringLiteral("ObnovitBtn"))->click();

        QVERIFY(closer.closed().contains(QStringLiteral("UkonceniDlg")));
        QCOMPARE(closed.count(), 1);
        QCOMPARE(najeto(data.filePath(QStringLiteral("stav.ini")), 1), QStringLiteral("9:0"));
        QVERIFY2(errors.messages().isEmpty(), qPrintable(errors.messages().join(QLatin1Char('\n'))));
    }

    void aRestoreFromTheSettingsWindowEndsWithoutWritingTheSettings() {
        TempDataFolder data;
        const QByteArray restored = "[Semafor]\r\nPouzij=0\r\n[Zvuk]\r\nHrat=0\r\n";
        const QString ini = data.writeFile(QStringLiteral("tarvolin.ini"), restored);
        ProgramWindows windows(stationOn(data));
        TForm1& form = windows.mainWindow();
        {
            ModalCloser startUp; // the notices of the start
            form.FormActivate();
        }
        QSignalSpy closed(&form, &TForm1::closed);
        TZalohujFrm& backup = windows.backupWindow();
        backup.hooks().message = [](const QString&) {};
        QVERIFY(QDir().mkpath(data.filePath(QStringLiteral("zaloha"))));
        QVERIFY2(backup.Backupfile1().BackupFiles({ini}, data.filePath(QStringLiteral("zaloha/ini.bck"))),
                 qPrintable(backup.Backupfile1().lastErrorText()));
        data.writeFile(QStringLiteral("tarvolin.ini"), "[Zvuk]\r\nHrat=1\r\n");

        // The notice is closed; a window still open after it is named and closed.
        QStringList leftOpen;
        QTimer closer;
        closer.callOnTimeout([&] {
            auto* modal = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            if (!modal)
                return;
            if (modal->objectName() != QLatin1String("UkonceniDlg"))
                leftOpen << modal->objectName();
            modal->done(QDialog::Rejected);
        });
        // "&Nastavení", "Zálohování" in it, the archive restored there.
        QTimer::singleShot(0, [&] {
            QTimer::singleShot(0, [&] {
                backup.FormActivate();
                auto* archives = backup.findChild<QListWidget*>(QStringLiteral("FileListBox1"));
                archives->setCurrentItem(
                    archives->findItems(QStringLiteral("ini.bck"), Qt::MatchExactly).value(0));
                closer.start(10);
                backup.findChild<QPushButton*>(QStringLiteral("ObnovitBtn"))->click();
            });
            windows.settingsWindow().findChild<QPushButton*>(QStringLiteral("Zalohuj_data"))->click();
        });
        form.findChild<QPushButton*>(QStringLiteral("Nastaveni_Button"))->click();

        QCOMPARE(closed.count(), 1);
        QVERIFY2(leftOpen.isEmpty(), qPrintable(leftOpen.join(QLatin1Char(' '))));
        QFile file(ini);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), restored);
    }

    void noRaceStartsDuringABackupAndNoRestoreDuringARace() {
        TempDataFolder data;
        data.writeFile(QStringLiteral("tarvolin.ini"), "[Semafor]\r\nPouzij=0\r\n[Zvuk]\r\nHrat=0\r\n");
        data.writeFile(QStringLiteral("stav.ini"), "[Motokara1]\r\nNajeto=7:0\r\n");
        ModalCloser closer;
        ProgramWindows windows(stationOn(data));
        TForm1& form = windows.mainWindow();
        form.FormActivate();
        TZalohujFrm& backup = windows.backupWindow();
        QStringList messages;
        backup.hooks().message = [&messages](const QString& text) { messages << text; };
        backup.show();

        // The external start button pressed while the archive is written (its events run between
        // blocks) is ignored.
        bool startedDuringBackup = false;
        backup.Backupfile1().OnProgress = [&](const QString& name, int, bool&) {
            if (name.isEmpty())
                return;
            form.race().StartButton1Click();
            startedDuringBackup = startedDuringBackup || form.race().running();
        };
        QVERIFY(backup.Backupfile1().BackupFiles({data.filePath(QStringLiteral("stav.ini"))},
                                                 data.filePath(QStringLiteral("zaloha/z.bck"))));
        QVERIFY(!startedDuringBackup);
        QVERIFY(form.statusBar()->currentMessage().contains(QStringLiteral("zálohování")));

        // During a race the restore is refused and changes nothing.
        backup.Backupfile1().OnProgress = nullptr;
        form.race().StartButton1Click();
        QVERIFY(form.race().running());
        backup.FormActivate();
        auto* archives = backup.findChild<QListWidget*>(QStringLiteral("FileListBox1"));
        archives->setCurrentItem(archives->findItems(QStringLiteral("z.bck"), Qt::MatchExactly).value(0));
        data.writeFile(QStringLiteral("stav.ini"), "[Motokara1]\r\nNajeto=1:0\r\n");
        backup.findChild<QPushButton*>(QStringLiteral("ObnovitBtn"))->click();
        QCOMPARE(messages, QStringList({"Během závodu nelze obnovit zálohu. Nejdříve závod zastavte."}));
        QCOMPARE(najeto(data.filePath(QStringLiteral("stav.ini")), 1), QStringLiteral("1:0"));
        QVERIFY(form.race().running());
        form.race().StartButton1Click();
    }

    void theLaunchersStartTheStationOnItsOwnDataFolder() {
        QTemporaryDir home;
        QVERIFY(home.isValid());
        const QByteArray oldHome = qgetenv("HOME");
        const QByteArray oldConfig = qgetenv("XDG_CONFIG_HOME");
        qputenv("HOME", QFile::encodeName(home.path()));
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(home.filePath(QStringLiteral("config"))));
        QDir(home.path()).mkpath(QStringLiteral("Desktop"));
        QDir(home.path()).mkpath(QStringLiteral("config/autostart"));
        TempDataFolder data;
        data.writeFile(QStringLiteral("tarvolin.ini"),
                       "[Tisk]\r\nLogo=" TARVOLIN_SOURCE_DIR "/data/Logo/logo.png\r\n");
        {
            ModalCloser closer;
            ProgramWindows windows(stationOn(data));
            auto& settingsWindow = windows.settingsWindow();
            settingsWindow.findChild<QAbstractButton*>(QStringLiteral("po_spusteni"))->click();
            settingsWindow.findChild<QAbstractButton*>(QStringLiteral("BitBtn1"))->click();
        }
        qputenv("HOME", oldHome);
        if (oldConfig.isNull())
            qunsetenv("XDG_CONFIG_HOME");
        else
            qputenv("XDG_CONFIG_HOME", oldConfig);

        const QStringList launchers = {home.filePath(QStringLiteral("config/autostart")),
                                       home.filePath(QStringLiteral("Desktop"))};
        for (const QString& folder : launchers) {
            const QStringList files = QDir(folder).entryList({QStringLiteral("*.desktop")}, QDir::Files);
            QCOMPARE(files.size(), 1);
            QFile file(QDir(folder).filePath(files.first()));
            QVERIFY(file.open(QIODevice::ReadOnly));
            const QString text = QString::fromUtf8(file.readAll());
            QVERIFY2(text.contains(QStringLiteral("--data")) && text.contains(data.path()), qPrintable(text));
            QVERIFY2(!text.contains(QStringLiteral("--simulate")), qPrintable(text));
        }
    }

    // With "Použít TV výstup" and the web page on, the activation shows the audience window
    // see-through with the page's address; unticking the see-through box makes the window anew. A
    // port that is taken is said, and the station goes on without the page.
    void theAudienceWindowAndThePageFollowTheSettings() {
        QTcpServer taken;
        QVERIFY(taken.listen(QHostAddress::Any, 0));
        for (const bool portTaken : {false, true}) {
            QTcpServer free;
            QVERIFY(free.listen(QHostAddress::Any, 0));
            const quint16 port = portTaken ? taken.serverPort() : free.serverPort();
            free.close();
            TempDataFolder data;
            data.writeFile(QStringLiteral("tarvolin.ini"),
                           QStringLiteral("[TVOUT]\r\nPouzit=1\r\nForm=1\r\n[Web]\r\nPouzit=1\r\nPort=%1\r\n"
                                          "[Tisk]\r\nLogo=" TARVOLIN_SOURCE_DIR "/data/Logo/logo.png\r\n")
                               .arg(port)
                               .toLatin1());
            RecordingErrorReporter reported;
            ProgramWindows windows(stationOn(data));
            windows.mainWindow().FormActivate();
            QVERIFY(windows.audienceWindow().isVisible());
            QVERIFY(!windows.audienceWindow().mask().isEmpty());
            auto contact = [&] {
                return windows.audienceWindow().findChild<QLabel*>(QStringLiteral("Kontakt"))->text();
            };
            if (portTaken) {
                QTRY_COMPARE_WITH_TIMEOUT(reported.count(), 1, 20000);
                QCOMPARE(windows.liveResults().port(), quint16(0));
                QVERIFY(!contact().contains(QStringLiteral("http://")));
                continue;
            }
            QTRY_COMPARE_WITH_TIMEOUT(windows.liveResults().port(), port, 20000);
            QTRY_VERIFY(contact().endsWith(QStringLiteral(":%1/").arg(port)));

            // The boxes of the page "TV výstup" that the program's windows inserted.
            TNastavDlg& settingsWindow = windows.settingsWindow();
            settingsWindow.findChild<QAbstractButton*>(QStringLiteral("PruhlednyForm_Box"))->click();
            QVERIFY(!windows.settings().TVOUT.Form);
            QVERIFY(windows.audienceWindow().isVisible());
            QVERIFY(windows.audienceWindow().mask().isEmpty());
            settingsWindow.findChild<QAbstractButton*>(QStringLiteral("TV_OUT_Box"))->click();
            QVERIFY(!windows.settings().TVOUT.Pouzit);
            QVERIFY(!windows.audienceWindow().isVisible());
        }
    }

    void aClosedAudienceWindowComesBackAtStart() {
        TempDataFolder data;
        data.writeFile(QStringLiteral("tarvolin.ini"),
                       withLogo("[Semafor]\r\nPouzij=0\r\n[TVOUT]\r\nPouzit=1\r\n"));
        ModalCloser closer;
        ProgramWindows windows(stationOn(data));
        TForm1& form = windows.mainWindow();
        form.FormActivate();
        TTV_Out_Frm& tv = windows.audienceWindow();
        QVERIFY(tv.isVisible());
        QVERIFY(tv.close());
        QVERIFY(!tv.isVisible());
        form.race().StartButton1Click();
        QVERIFY(tv.isVisible());
        form.race().StartButton1Click();
    }

    // Turned on in the settings window: the race length, the mode's heading and the top tens at once.
    void theAudienceWindowTurnedOnShowsItsContentAtOnce() {
        TempDataFolder data;
        data.writeFile(QStringLiteral("tarvolin.ini"), withLogo("[TVOUT]\r\nPouzit=0\r\nTypZobrazeni=0\r\n"));
        QStringList lines;
        for (int rank = 1; rank <= 20; ++rank)
            lines << QStringLiteral("%1\tJezdec %1\t00:%2:000").arg(rank).arg(rank + 30);
        data.writeFile(QStringLiteral("TopDeset.ini"), TextCodec::encodeLines(lines));
        data.writeFile(QStringLiteral("TopDeset1.ini"), TextCodec::encodeLines(lines));
        ProgramWindows windows(stationOn(data));
        windows.mainWindow().FormActivate();
        TTV_Out_Frm& tv = windows.audienceWindow();
        QVERIFY(!tv.isVisible());
        windows.settingsWindow().findChild<QAbstractButton*>(QStringLiteral("TV_OUT_Box"))->click();
        QVERIFY(tv.isVisible());
        QCOMPARE(tv.findChild<SevenSegmentDisplay*>(QStringLiteral("LcdDelka"))->text(),
                 QStringLiteral("10"));
        QCOMPARE(tv.findChild<QLabel*>(QStringLiteral("NadpisZavodu"))->text(),
                 QStringLiteral("Průběh závodu - minimální časy"));
        QCOMPARE(tv.findChild<QTableWidget*>(QStringLiteral("TopTenJezdci"))->item(0, 1)->text(),
                 QStringLiteral("Jezdec 1"));
    }

    // On the operator's only screen the window leaves START and the lap lists in view; where the
    // operator moves it, it opens at the next start.
    void onTheOnlyScreenTheAudienceWindowLeavesTheRaceInViewAndStaysWhereMoved() {
        QCOMPARE(QGuiApplication::screens().size(), 1);
        TempDataFolder data;
        data.writeFile(QStringLiteral("tarvolin.ini"), withLogo("[TVOUT]\r\nPouzit=1\r\nForm=0\r\n"));
        {
            ProgramWindows windows(stationOn(data));
            TForm1& form = windows.mainWindow();
            form.show();
            form.FormActivate();
            TTV_Out_Frm& tv = windows.audienceWindow();
            QVERIFY(tv.isVisible());
            for (const char* name :
                 {"StartButton1", "Kola_mezicas1", "Kola_mezicas2", "Kola_mezicas3", "Kola_mezicas4"}) {
                const auto* control = form.findChild<QWidget*>(QLatin1String(name));
                QVERIFY2(!tv.frameGeometry().intersects(
                             QRect(control->mapToGlobal(QPoint(0, 0)), control->size())),
                         name);
            }
            tv.move(30, 20);
            form.close();
        }
        IniFile ini;
        QVERIFY(ini.load(data.filePath(QStringLiteral("tarvolin.ini"))));
        QCOMPARE(ini.readString(QStringLiteral("TVOUT"), QStringLiteral("Poloha"), QString()),
                 QStringLiteral("30,20"));
        ProgramWindows again(stationOn(data));
        again.mainWindow().FormActivate();
        QCOMPARE(again.audienceWindow().pos(), QPoint(30, 20));
    }

    // The reminders at start-up hold the operator, not the spectators: the window and the page are up.
    void theAudienceWindowAndThePageAreUpWhileTheRemindersAreRead() {
        TempDataFolder data;
        const quint16 port = freePort();
        const QByteArray settings =
            "[TVOUT]\r\nPouzit=1\r\n[Web]\r\nPouzit=1\r\nPort=" + QByteArray::number(port) + "\r\n";
        data.writeFile(QStringLiteral("tarvolin.ini"), withLogo(settings));
        data.writeFile(QStringLiteral("stav.ini"),
                       "[Motokara3]\r\nNajeto=10:5\r\nUkol1=1\r\nUkolHodin1=10\r\nText1=Olej\r\n");
        RecordingErrorReporter errors;
        ProgramWindows windows(stationOn(data));
        bool reminded = false;
        bool tvShown = false;
        quint16 served = 0;
        QDeadlineTimer deadline(20000);
        QTimer poll;
        QObject::connect(&poll, &QTimer::timeout, [&] {
            auto* modal = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            if (!modal || modal->objectName() != QStringLiteral("HlaseniDlg"))
                return;
            reminded = true;
            tvShown = windows.audienceWindow().isVisible();
            served = windows.liveResults().port();
            if (served || deadline.hasExpired())
                modal->accept();
        });
        poll.start(10);
        windows.mainWindow().FormActivate();
        QVERIFY(reminded);
        QVERIFY(tvShown);
        QCOMPARE(served, port);
    }
};

QTEST_MAIN(ProgramWindowsTest)
#include "ProgramWindowsTest.moc"
