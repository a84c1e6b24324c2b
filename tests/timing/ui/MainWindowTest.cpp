// The main window: its layout and texts, the start-up and closing steps, the lap lists, and races on
// virtual time (a fake clock and virtual timers) through the window's own station.
#include "FakeClock.h"
#include "FakePortBackend.h"
#include "SocatPtyPair.h"
#include "VirtualScheduler.h"
#include "VirtualTimerFactory.h"

#include "base/UserError.h"
#include "config/TSettings.h"
#include "hardware/ExternalStartWatch.h"
#include "hardware/PortBackendFactory.h"
#include "hardware/PortOptions.h"
#include "hardware/ScenarioReader.h"
#include "hardware/TComPort.h"
#include "hardware/TSmallPort.h"
#include "hardware/VirtualTrack.h"
#include "platform/LockKeys.h"
#include "timing/LapList.h"
#include "timing/LapTime.h"
#include "timing/TRace.h"
#include "timing/ui/LapFileDialogs.h"
#include "timing/ui/LapListView.h"
#include "timing/ui/MainStatusBar.h"
#include "timing/ui/SevenSegmentDisplay.h"
#include "timing/ui/SignalLamp.h"
#include "timing/ui/hwunit.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QCompleter>
#include <QDir>
#include <QFileDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include <csignal>
#include <memory>

class MainWindowTest : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void layoutHasEveryControlWithItsText();
    void creationAppliesOnTopAndPriorityFromTheFile();
    void lapColumnsHaveTheirControls();
    void statusBarPanels();
    void clockDisplaysPadToTheirWidth();
    void raceTimeIsTenAfterEveryStart();
    void raceTimeTypedDuringARaceCountsWhenItIsFinished();
    void lptOffLeavesTheLampRedWithoutTheErrorWindow();
    void failedPortOpenShowsTheErrorWindowOnce();
    void openPortShowsGreenAndWritesTheRestingValue();
    void thirdPortBaseTakesTheLowSixteenBits();
    void badHexBaseIsReportedOnceAndTheStationStartsOnLpt1();
    void activationRunsItsHooksInOrderOnlyOnce();
    void buttonsWithoutTheirWindowDoNothing();
    void settingsButtonStoresSerialParametersAfterTheWindow();
    void lapListMirrorsTheRaceList();
    void popupMenuItemsAndDeletion();
    void lapFilesRoundTripThroughTheWindow();
    void lapFileDialogsStartInResults();
    void savedNameWithoutExtensionGetsTxt();
    void nameCompletionClosesWithTheDialog();
    void closingDuringARaceAsksAndKeepsTheRaceWithoutAccounting();
    void sigtermClosesLikeKonec();
    void shortRaceThroughTheWindow();
    void scenarioRaceOnTheVirtualTrack();
    void aSerialDeviceLostMidRaceIsSaidAndTheRaceGoesOn();
    void samplesThatComeLateAreSaidOnTheStatusBar();

private:
    std::unique_ptr<TForm1> makeWindow(int openError = 0, quint16 base = 888);
    std::unique_ptr<TForm1> makeWindow(std::unique_ptr<PortBackend> backend,
                                       std::function<void(TSettings&)> readCreationSettings = {});
    template <typename T> T* child(const QString& name) const {
        T* found = m_window->findChild<T*>(name);
        if (!found)
            qWarning("missing control %s", qPrintable(name));
        return found;
    }

    std::unique_ptr<QTemporaryDir> m_data;
    TSettings m_settings;
    FakeClock m_clock;
    VirtualScheduler m_scheduler{m_clock};
    VirtualTimerFactory m_timers{m_scheduler};
    QList<int> m_appliedPriorities;
    FakePortBackend* m_backend = nullptr;
    std::unique_ptr<TForm1> m_window;
};

std::unique_ptr<TForm1> MainWindowTest::makeWindow(int openError, quint16 base) {
    auto backend = std::make_unique<FakePortBackend>(m_clock, base);
    backend->setOpenError(openError);
    m_backend = backend.get();
    return makeWindow(std::move(backend));
}

// The window on virtual time: its station's timers tick only when the scheduler moves the fake clock,
// the light sequence blocks the virtual main thread, and the process priority is only recorded.
std::unique_ptr<TForm1> MainWindowTest::makeWindow(std::unique_ptr<PortBackend> backend,
                                                   std::function<void(TSettings&)> readCreationSettings) {
    m_window.reset(); // its timers go before the new window's are made under the same names
    TForm1Deps deps{m_settings, m_data->path(), std::move(backend)};
    deps.clock = &m_clock;
    deps.timers = &m_timers;
    deps.lightWait = [this](int ms) { m_scheduler.block(ms); };
    deps.readCreationSettings = std::move(readCreationSettings);
    deps.applyProcessPriority = [this](int priority) { m_appliedPriorities << priority; };
    auto window = std::make_unique<TForm1>(std::move(deps));
    window->hooks().showError = [](const QString& message) {
        qWarning("error shown: %s", qPrintable(message));
    };
    return window;
}

void MainWindowTest::init() {
    m_data = std::make_unique<QTemporaryDir>();
    QDir(m_data->path()).mkpath(QStringLiteral("vysledky"));
    QDir(m_data->path()).mkpath(QStringLiteral("zvuky"));
    m_settings = TSettings();
    m_appliedPriorities.clear();
    m_window = makeWindow();
}

void MainWindowTest::cleanup() {
    m_window.reset();
    m_data.reset();
}

void MainWindowTest::layoutHasEveryControlWithItsText() {
    QCOMPARE(m_window->windowTitle(), QStringLiteral("Tarvolin v.2.0"));
    QCOMPARE(m_window->minimumSize(), m_window->maximumSize());
    QVERIFY(!(m_window->windowFlags() & Qt::WindowMaximizeButtonHint));
    QVERIFY(m_window->windowFlags() & Qt::WindowMinimizeButtonHint);

    // Every caption of the window, by object name: a group's title, a button's or a label's text.
    const QList<QPair<const char*, QString>> captions = {
        {"StartGroup", QStringLiteral(" Start závodu ")},
        {"StartButton1", QStringLiteral("START")},
        {"CasZavoduGroup", QStringLiteral(" Čas závodu ")},
        {"MinutLabel", QStringLiteral("minut")},
        {"CasGroup", QStringLiteral(" Celkový naměřený čas ")},
        {"Colon1", QStringLiteral(":")},
        {"Colon2", QStringLiteral(":")},
        {"Statistika", QStringLiteral("&Statistika")},
        {"stav_motokar", QStringLiteral("Sta&v kár")},
        {"Nastaveni_Button", QStringLiteral("&Nastavení")},
        {"About", QStringLiteral("&O programu")},
        {"Button1", QStringLiteral("&Tisk")},
        {"TopTen10", QStringLiteral("&Nejlepších dvacet časů")},
        {"KonecButton", QStringLiteral("&Konec")},
        {"CasyKolGroup", QStringLiteral(" Naměřené časy kol ")},
    };
    for (const auto& [name, caption] : captions) {
        auto* control = child<QWidget>(QLatin1String(name));
        QVERIFY2(control, name);
        if (auto* group = qobject_cast<QGroupBox*>(control))
            QCOMPARE(group->title(), caption);
        else if (auto* button = qobject_cast<QAbstractButton*>(control))
            QCOMPARE(button->text(), caption);
        else
            QCOMPARE(qobject_cast<QLabel*>(control)->text(), caption);
    }
    const QList<QPair<const char*, QString>> hints = {
        {"StartButton1", QStringLiteral("Odstartuje počítání času")},
        {"Statistika", QStringLiteral("Zobrazení grafu a tabulka TOP 20")},
        {"stav_motokar", QStringLiteral("Motohidiny a hlášení stavu motokár")},
    };
    for (const auto& [name, hint] : hints)
        QCOMPARE(child<QWidget>(QLatin1String(name))->toolTip(), hint);

    auto* start = child<QPushButton>(QStringLiteral("StartButton1"));
    QVERIFY(start->font().bold());
    QVERIFY(start->font().italic());
    QVERIFY(!start->icon().isNull());
    QCOMPARE(start->cursor().shape(), Qt::PointingHandCursor);
    for (const char* lamp : {"Led_cervena", "LED_oranzova", "Led_zelena"}) {
        QVERIFY2(child<SignalLamp>(QLatin1String(lamp)), lamp);
        QVERIFY2(!child<SignalLamp>(QLatin1String(lamp))->isOn(), lamp);
    }
    auto* minutes = child<QSpinBox>(QStringLiteral("CasZavodu"));
    QCOMPARE(minutes->minimum(), 1);
    QCOMPARE(minutes->maximum(), 59);
    QCOMPARE(child<SevenSegmentDisplay>(QStringLiteral("LcdDisplay3"))->digitCount(), 2);
    QCOMPARE(child<SevenSegmentDisplay>(QStringLiteral("LcdDisplay2"))->digitCount(), 2);
    QCOMPARE(child<SevenSegmentDisplay>(QStringLiteral("LcdDisplay1"))->digitCount(), 3);
    QCOMPARE(child<SevenSegmentDisplay>(QStringLiteral("LcdDisplay1"))->litColor(), QColor(0, 0, 0x80));
}

void MainWindowTest::creationAppliesOnTopAndPriorityFromTheFile() {
    QVERIFY(!(m_window->windowFlags() & Qt::WindowStaysOnTopHint));
    QCOMPARE(m_appliedPriorities, QList<int>{0});
    m_appliedPriorities.clear();
    bool read = false;
    m_window = makeWindow(std::make_unique<FakePortBackend>(m_clock, 888), [&](TSettings& settings) {
        read = true;
        settings.Ostatni.OnTop = true;
        settings.Ostatni.Priorita = 1;
    });
    QVERIFY(read);
    QVERIFY(m_window->windowFlags() & Qt::WindowStaysOnTopHint);
    // The idle class read from the file is what the process gets.
    QCOMPARE(m_appliedPriorities, QList<int>{1});
}

void MainWindowTest::lapColumnsHaveTheirControls() {
    for (int k = 1; k <= 4; ++k) {
        const QString n = QString::number(k);
        QCOMPARE(child<QGroupBox>(QStringLiteral("MezicasyGroup") + n)->title(),
                 QStringLiteral(" Mezičasy kára %1 ").arg(k));
        auto* zena = child<QCheckBox>(QStringLiteral("ZenaBox") + n);
        QCOMPARE(zena->text(), QStringLiteral("Žena"));
        QCOMPARE(zena->toolTip(), QStringLiteral("Na této motokáře jezdí žena."));
        auto* ucast = child<QCheckBox>(QStringLiteral("UcastBox") + n);
        QCOMPARE(ucast->text(), QStringLiteral("Bez účasti"));
        QCOMPARE(ucast->toolTip(), QStringLiteral("Zatržením vypnete zařazení jezdce do tabulky Top 20."));
        QVERIFY(child<LapListView>(QStringLiteral("Kola_mezicas") + n));
        QCOMPARE(child<QPushButton>(QStringLiteral("Smazat") + n)->text(), QStringLiteral(" Smazat "));
        QCOMPARE(child<QPushButton>(QStringLiteral("BitBtn") + n)->text(), QStringLiteral("Ulož časy"));
        QCOMPARE(child<QPushButton>(QStringLiteral("Nacti") + n)->text(), QStringLiteral("Načti časy"));
        auto* menu = child<QMenu>(QStringLiteral("PopupMenu") + n);
        QCOMPARE(menu->actions().size(), 2);
        QCOMPARE(menu->actions().at(0)->text(), QStringLiteral("Vložit do tab. Top 20"));
        QCOMPARE(menu->actions().at(1)->text(), QStringLiteral("Smazat záznam"));
        QCOMPARE(menu->actions().at(1)->objectName(), QStringLiteral("Smazatzaznam") + n);
    }
}

void MainWindowTest::statusBarPanels() {
    MainStatusBar& bar = m_window->statusBarPanels();
    auto* text = bar.findChild<QLabel*>(QStringLiteral("LptStatusText"));
    QCOMPARE(text->text(), QStringLiteral("Stav LPT portu: "));
    QVERIFY(text->alignment() & Qt::AlignRight);
    QCOMPARE(bar.findChild<QLabel*>(QStringLiteral("CapsPanel"))->text(), QStringLiteral("CAPS"));
    QCOMPARE(bar.findChild<QLabel*>(QStringLiteral("NumPanel"))->text(), QStringLiteral("NUM"));
    QCOMPARE(bar.findChild<QLabel*>(QStringLiteral("ScrollPanel"))->text(), QStringLiteral("SCROLL"));
    auto* maker = bar.findChild<QLabel*>(QStringLiteral("MakerPanel"));
    QCOMPARE(maker->text(), QStringLiteral("Orvex Software"));
    QVERIFY(maker->font().italic());

    // Panels in their order, left to right.
    QWidget* lampPanel = bar.findChild<QWidget*>(QStringLiteral("PortLampPanel"));
    auto* dateTime = bar.findChild<QLabel*>(QStringLiteral("DateTimePanel"));
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
    QVERIFY(text->x() < lampPanel->x());
    QVERIFY(lampPanel->x() < bar.findChild<QLabel*>(QStringLiteral("CapsPanel"))->x());
    QVERIFY(bar.findChild<QLabel*>(QStringLiteral("ScrollPanel"))->x() < dateTime->x());
    QVERIFY(dateTime->x() < maker->x());
    // The fixed-size window shows every panel whole.
    QVERIFY(bar.height() >= bar.sizeHint().height());
    QVERIFY(bar.geometry().bottom() < m_window->height());
    QVERIFY(maker->geometry().right() < bar.width());

    // A key that is off is drawn grey.
    auto* caps = bar.findChild<QLabel*>(QStringLiteral("CapsPanel"));
    LockKeyStates states;
    states.caps = true;
    bar.showLockKeys(&states);
    QVERIFY(caps->property("lockOn").toBool());
    QVERIFY(!bar.findChild<QLabel*>(QStringLiteral("NumPanel"))->property("lockOn").toBool());
    bar.showLockKeys(nullptr);
    QCOMPARE(caps->palette().color(QPalette::WindowText),
             bar.palette().color(QPalette::Disabled, QPalette::WindowText));

    // Czech month names, a blank, then the time with its own leading blank and no hour padding.
    QCOMPARE(MainStatusBar::dateTimeText(QDateTime(QDate(2026, 3, 5), QTime(7, 4, 9))),
             QStringLiteral("5. března 2026  7:04:09"));
    QCOMPARE(MainStatusBar::dateTimeText(QDateTime(QDate(2026, 12, 24), QTime(18, 30, 0))),
             QStringLiteral("24. prosince 2026  18:30:00"));
}

void MainWindowTest::clockDisplaysPadToTheirWidth() {
    m_window->setClockDisplay(ClockDisplay::Minutes, 5);
    m_window->setClockDisplay(ClockDisplay::Seconds, 0);
    m_window->setClockDisplay(ClockDisplay::Millis, 7);
    QCOMPARE(child<SevenSegmentDisplay>(QStringLiteral("LcdDisplay3"))->text(), QStringLiteral("05"));
    QCOMPARE(child<SevenSegmentDisplay>(QStringLiteral("LcdDisplay2"))->text(), QStringLiteral("00"));
    QCOMPARE(child<SevenSegmentDisplay>(QStringLiteral("LcdDisplay1"))->text(), QStringLiteral("007"));
    QCOMPARE(m_window->clockDisplay(ClockDisplay::Millis), 7);
    m_window->setClockDisplay(ClockDisplay::Millis, 999);
    QCOMPARE(child<SevenSegmentDisplay>(QStringLiteral("LcdDisplay1"))->text(), QStringLiteral("999"));
    m_window->setClockDisplay(ClockDisplay::Minutes, -3);
    QCOMPARE(child<SevenSegmentDisplay>(QStringLiteral("LcdDisplay3"))->text(), QStringLiteral("00"));
}

void MainWindowTest::raceTimeIsTenAfterEveryStart() {
    int audienceLength = -1;
    m_window->race().hooks().audienceRaceLength = [&](int minutes) { audienceLength = minutes; };
    m_settings.TVOUT.Pouzit = true;
    child<QSpinBox>(QStringLiteral("CasZavodu"))->setValue(33);
    m_window->FormActivate();
    QCOMPARE(child<QSpinBox>(QStringLiteral("CasZavodu"))->value(), 10);
    QCOMPARE(m_window->raceMinutes(), 10);
    QCOMPARE(audienceLength, 10);

    // A field that already reads 10 still tells the audience window.
    m_window = makeWindow();
    audienceLength = -1;
    m_window->race().hooks().audienceRaceLength = [&](int minutes) { audienceLength = minutes; };
    m_window->FormActivate();
    QCOMPARE(audienceLength, 10);
}

void MainWindowTest::raceTimeTypedDuringARaceCountsWhenItIsFinished() {
    m_settings.Semafor.Pouzij = false;
    m_settings.HW.Rizeni = false;
    m_window->show();
    m_window->FormActivate();
    child<QPushButton>(QStringLiteral("StartButton1"))->click();
    m_scheduler.advance(64000);
    // At 01:04 the operator types "15" over the 10: the "1" on the way must not end the race.
    auto* field = child<QSpinBox>(QStringLiteral("CasZavodu"));
    field->setFocus();
    field->selectAll();
    QTest::keyClicks(field, QStringLiteral("15"));
    m_scheduler.advance(1000);
    QVERIFY(m_window->race().endPending());
    QVERIFY(!child<SignalLamp>(QStringLiteral("Led_cervena"))->isOn());
    QTest::keyClick(field, Qt::Key_Return);
    QCOMPARE(m_window->raceMinutes(), 15);
    m_scheduler.advance(13 * 60000); // 14:05
    QVERIFY(m_window->race().endPending());
    m_scheduler.advance(60000);
    QVERIFY(!m_window->race().endPending());
    QVERIFY(child<SignalLamp>(QStringLiteral("Led_cervena"))->isOn());
}

void MainWindowTest::lptOffLeavesTheLampRedWithoutTheErrorWindow() {
    m_settings.PoSpusteni.LPT = false;
    int errorWindows = 0;
    m_window->hooks().showPortError = [&] { ++errorWindows; };
    m_window->FormActivate();
    QVERIFY(m_window->activated());
    QVERIFY(!m_window->SmallPort1().Opened());
    QCOMPARE(errorWindows, 0);
    QVERIFY(!m_window->statusBarPanels().portOpen());
    QCOMPARE(m_window->statusBarPanels().portLamp()->color(), QColor(0xe0, 0, 0));
    QCOMPARE(m_window->statusBarPanels().portLamp()->toolTip(), QStringLiteral("LPT port není otevřený"));
}

void MainWindowTest::failedPortOpenShowsTheErrorWindowOnce() {
    m_window = makeWindow(ENODEV);
    int errorWindows = 0;
    m_window->hooks().showPortError = [&] { ++errorWindows; };
    m_window->FormActivate();
    m_window->FormActivate();
    QCOMPARE(errorWindows, 1);
    QVERIFY(!m_window->statusBarPanels().portOpen());
    QVERIFY(m_backend->writes().empty());
}

void MainWindowTest::openPortShowsGreenAndWritesTheRestingValue() {
    m_settings.PoSpusteni.Port = 2;
    m_settings.PoSpusteni.Base = 0x15A; // low 8 bits only
    m_settings.HW.Rizeni = false;
    m_window = makeWindow(0, 632);
    int errorWindows = 0;
    m_window->hooks().showPortError = [&] { ++errorWindows; };
    m_window->FormActivate();
    QVERIFY(m_window->SmallPort1().Opened());
    QCOMPARE(m_window->SmallPort1().portBase(), quint16(632));
    QCOMPARE(errorWindows, 0);
    QVERIFY(m_window->statusBarPanels().portOpen());
    QCOMPARE(m_window->statusBarPanels().portLamp()->toolTip(), QStringLiteral("LPT port je otevřený"));
    QVERIFY(!m_backend->writes().empty());
    QCOMPARE(m_backend->writes().front().value, quint8(0x5A));
}

void MainWindowTest::thirdPortBaseTakesTheLowSixteenBits() {
    m_settings.PoSpusteni.Port = 3;
    m_settings.PoSpusteni.Base1 = QStringLiteral("1DC00");
    m_window->FormActivate();
    QCOMPARE(m_window->SmallPort1().portBase(), quint16(0xDC00));
}

void MainWindowTest::badHexBaseIsReportedOnceAndTheStationStartsOnLpt1() {
    m_settings.PoSpusteni.Port = 3;
    m_settings.PoSpusteni.Base1 = QStringLiteral("G000");
    m_settings.PoSpusteni.Base = 0x5A;
    int readings = 0;
    QStringList shown;
    m_window->hooks().readSettingsFile = [&] { ++readings; };
    m_window->hooks().showError = [&](const QString& message) { shown << message; };
    m_window->FormActivate();
    QVERIFY(m_window->activated());
    QCOMPARE(shown.size(), 1);
    QVERIFY2(shown.first().contains(QStringLiteral("\u201eG000\u201c")) &&
                 shown.first().contains(QStringLiteral("LPT1 (378)")),
             qPrintable(shown.first()));
    QCOMPARE(m_window->SmallPort1().portBase(), quint16(888));
    QCOMPARE(m_backend->data(), quint8(0x5A));
    // The stored choice stays, for the operator to correct in the settings window.
    QCOMPARE(m_settings.PoSpusteni.Port, 3);
    QCOMPARE(m_settings.PoSpusteni.Base1, QStringLiteral("G000"));

    m_window->FormActivate();
    QCOMPARE(readings, 1);
    QCOMPARE(shown.size(), 1);
}

void MainWindowTest::activationRunsItsHooksInOrderOnlyOnce() {
    QStringList calls;
    MainWindowHooks& hooks = m_window->hooks();
    hooks.readSettingsFile = [&] { calls << QStringLiteral("read"); };
    hooks.finishReadingSettings = [&] {
        calls << (m_window->SmallPort1().Opened() ? QStringLiteral("finish-open") : QStringLiteral("finish"));
    };
    hooks.displaysAtStart = [&] { calls << QStringLiteral("displays"); };
    hooks.kartUpkeepAtStart = [&] {
        calls << QStringLiteral("upkeep-%1").arg(child<QSpinBox>(QStringLiteral("CasZavodu"))->value());
    };
    m_settings.Semafor.Cervena = 0x81;
    m_window->show();
    m_window->activateWindow();
    QTRY_VERIFY(m_window->activated());
    m_window->FormActivate();
    QCOMPARE(calls, QStringList({QStringLiteral("read"), QStringLiteral("finish-open"),
                                 QStringLiteral("displays"), QStringLiteral("upkeep-10")}));
    QCOMPARE(m_window->race().endRedMask(), quint8(0x81));
    QCOMPARE(m_window->statusBarPanels().toolTip(),
             QStringLiteral(
                 " Pokud nepracuje ovladač LPT portu správně\r\n     je stav zobrazen červenou barvou"));
}

void MainWindowTest::buttonsWithoutTheirWindowDoNothing() {
    m_window->FormActivate();
    for (const char* name :
         {"Statistika", "stav_motokar", "Nastaveni_Button", "About", "Button1", "TopTen10"})
        child<QPushButton>(QLatin1String(name))->click();
    QVERIFY(!m_window->race().running());

    int shown = 0;
    m_window->hooks().showBestTwenty = [&] { ++shown; };
    m_window->hooks().showStatistics = [&] { shown += 10; };
    child<QPushButton>(QStringLiteral("TopTen10"))->click();
    child<QPushButton>(QStringLiteral("Statistika"))->click();
    QCOMPARE(shown, 11);
}

void MainWindowTest::settingsButtonStoresSerialParametersAfterTheWindow() {
    QStringList calls;
    m_window->hooks().showSettings = [&] { calls << QStringLiteral("settings"); };
    m_window->hooks().writeSerialSection = [&] { calls << QStringLiteral("serial"); };
    child<QPushButton>(QStringLiteral("Nastaveni_Button"))->click();
    QCOMPARE(calls, QStringList({QStringLiteral("settings"), QStringLiteral("serial")}));
}

void MainWindowTest::lapListMirrorsTheRaceList() {
    LapList& laps = m_window->lapList(2);
    LapListView* view = child<LapListView>(QStringLiteral("Kola_mezicas2"));
    laps.appendAndSelect(QStringLiteral("00:41:100"));
    laps.appendAndSelect(QStringLiteral("00:40:250"));
    QCOMPARE(view->count(), 2);
    QCOMPARE(view->item(1)->text(), QStringLiteral("00:40:250"));
    QCOMPARE(view->currentRow(), 1);
    QVERIFY(view->item(1)->isSelected());

    // The operator's selection reaches the list.
    view->setCurrentRow(0);
    QCOMPARE(laps.selectedIndex(), 0);

    child<QPushButton>(QStringLiteral("Smazat2"))->click();
    QCOMPARE(view->count(), 0);
    QCOMPARE(laps.count(), 0);
}

void MainWindowTest::popupMenuItemsAndDeletion() {
    LapList& laps = m_window->lapList(3);
    laps.setEntries({QStringLiteral("00:41:100"), QStringLiteral("00:42:200"), QStringLiteral("00:43:300")});
    auto* remove = child<QAction>(QStringLiteral("Smazatzaznam3"));
    remove->trigger(); // nothing selected: nothing happens
    QCOMPARE(laps.count(), 3);
    child<LapListView>(QStringLiteral("Kola_mezicas3"))->setCurrentRow(1);
    remove->trigger();
    QCOMPARE(laps.entries(), QStringList({QStringLiteral("00:41:100"), QStringLiteral("00:43:300")}));
    QCOMPARE(child<LapListView>(QStringLiteral("Kola_mezicas3"))->count(), 2);

    int offered = 0;
    m_window->hooks().offerToBestTwenty = [&](int kart) { offered = kart; };
    child<QAction>(QStringLiteral("Vlozitdotab3"))->trigger();
    QCOMPARE(offered, 3);
}

void MainWindowTest::lapFilesRoundTripThroughTheWindow() {
    const QString path = QDir(m_data->path()).filePath(QStringLiteral("vysledky/kara1.txt"));
    m_window->lapList(1).setEntries({QStringLiteral("01:02:003"), QStringLiteral("00:59:999")});
    m_window->saveLapsTo(1, path);
    m_window->loadLapsFrom(4, path);
    QCOMPARE(m_window->lapList(4).entries(), m_window->lapList(1).entries());
    QCOMPARE(child<LapListView>(QStringLiteral("Kola_mezicas4"))->count(), 2);

    // A file that cannot be opened, or one with a line that is no lap time, leaves the list as it was.
    QVERIFY_THROWS_EXCEPTION(UserError, m_window->loadLapsFrom(4, path + QStringLiteral(".missing")));
    m_window->lapList(2).setEntries({QStringLiteral("01:00:000"), QStringLiteral("abc")});
    m_window->saveLapsTo(2, path);
    try {
        m_window->loadLapsFrom(4, path);
        QFAIL("a file with a stray line was loaded");
    } catch (const UserError& error) {
        QVERIFY2(error.message().contains(QStringLiteral("řádek 2: \u201eabc\u201c")),
                 qPrintable(error.message()));
    }
    QCOMPARE(m_window->lapList(4).count(), 2);
}

void MainWindowTest::lapFileDialogsStartInResults() {
    LapFileDialogs& dialogs = m_window->lapFileDialogs();
    const QString results = QDir(QDir(m_data->path()).filePath(QStringLiteral("vysledky"))).canonicalPath();
    for (QFileDialog* dialog : {dialogs.saveDialog(), dialogs.openDialog()}) {
        QCOMPARE(QDir(dialog->directory()).canonicalPath(), results);
        QCOMPARE(dialog->nameFilters(), QStringList({QStringLiteral("textový soubor (*.txt)")}));
        QCOMPARE(dialog->defaultSuffix(), QStringLiteral("txt"));
    }
    QVERIFY(!dialogs.saveDialog()->testOption(QFileDialog::DontConfirmOverwrite));
    QCOMPARE(dialogs.saveDialog()->acceptMode(), QFileDialog::AcceptSave);
    QCOMPARE(dialogs.openDialog()->fileMode(), QFileDialog::ExistingFile);
}

void MainWindowTest::savedNameWithoutExtensionGetsTxt() {
    LapFileDialogs& dialogs = m_window->lapFileDialogs();
    dialogs.saveDialog()->setOption(QFileDialog::DontUseNativeDialog);
    dialogs.openDialog()->setOption(QFileDialog::DontUseNativeDialog);
    // The operator sees the proposal, types a name without an extension and confirms.
    QString proposed;
    QTimer::singleShot(0, this, [&] {
        auto* name = dialogs.saveDialog()->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
        QVERIFY(name);
        proposed = name->text();
        name->setText(QStringLiteral("zavod"));
        static_cast<QDialog*>(dialogs.saveDialog())->accept();
    });
    const QString saved = dialogs.askSaveFile(2);
    QCOMPARE(proposed, QStringLiteral("kara2"));
    QCOMPARE(QFileInfo(saved).fileName(), QStringLiteral("zavod.txt"));
    QCOMPARE(QFileInfo(saved).dir().canonicalPath(),
             QDir(QDir(m_data->path()).filePath(QStringLiteral("vysledky"))).canonicalPath());

    // The open dialog proposes the file the save dialog would have made; cancel changes nothing.
    QTimer::singleShot(0, this, [&] {
        auto* name = dialogs.openDialog()->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
        QVERIFY(name);
        proposed = name->text();
        dialogs.openDialog()->reject();
    });
    QVERIFY(dialogs.askOpenFile(2).isEmpty());
    QCOMPARE(proposed, QStringLiteral("kara2.txt"));
}

void MainWindowTest::nameCompletionClosesWithTheDialog() {
    LapFileDialogs& dialogs = m_window->lapFileDialogs();
    dialogs.openDialog()->setOption(QFileDialog::DontUseNativeDialog);
    const QDir results(QDir(m_data->path()).filePath(QStringLiteral("vysledky")));
    for (const char* name : {"kara1.txt", "kara2.txt"}) {
        QFile file(results.filePath(QLatin1String(name)));
        QVERIFY(file.open(QIODevice::WriteOnly));
    }
    m_window->show();
    QAbstractItemView* popup = nullptr;
    QTimer::singleShot(0, this, [&] {
        auto* name = dialogs.openDialog()->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
        QVERIFY(name);
        // The completion list as typing "kara" opens it; the operator then confirms "kara1.txt".
        QCompleter* completer = name->completer();
        QVERIFY(completer);
        name->setText(QStringLiteral("kara"));
        completer->setCompletionPrefix(QStringLiteral("kara"));
        completer->complete();
        popup = completer->popup();
        popup->show(); // offscreen, the list may wait for the folder's model
        QVERIFY(popup->isVisible());
        name->setText(QStringLiteral("kara1.txt"));
        static_cast<QDialog*>(dialogs.openDialog())->accept();
    });
    const QString chosen = dialogs.askOpenFile(1);
    QCOMPARE(QFileInfo(chosen).fileName(), QStringLiteral("kara1.txt"));
    QVERIFY(popup);
    QVERIFY(!popup->isVisible());
}

void MainWindowTest::closingDuringARaceAsksAndKeepsTheRaceWithoutAccounting() {
    m_window->FormActivate();
    int questions = 0;
    bool answer = false;
    m_window->hooks().confirmQuitDuringRace = [&] {
        ++questions;
        return answer;
    };
    int accounted = 0;
    int written = 0;
    m_window->race().hooks().addDriven = [&](int, qint64) { ++accounted; };
    m_window->hooks().writeKartEngineTimes = [&] {
        ++written;
        QVERIFY(!m_window->race().running());
        QVERIFY(!m_window->SmallPort1().Opened());
    };
    m_window->show();
    child<QPushButton>(QStringLiteral("StartButton1"))->click();
    QVERIFY(m_window->race().running());
    QCOMPARE(child<QPushButton>(QStringLiteral("StartButton1"))->text(), QStringLiteral("STOP"));
    QVERIFY(!child<QPushButton>(QStringLiteral("Button1"))->isEnabled());
    m_backend->addPulse(m_clock.nowMs() + 30000, m_clock.nowMs() + 30040,
                        m_window->race().channel(1).InputMask);
    m_scheduler.advance(31000);
    QCOMPARE(m_window->lapList(1).count(), 1);

    // The window's own question: "Ne" is the default, and goes on with the race.
    m_window->hooks().confirmQuitDuringRace = {};
    QString asked;
    QString defaultAnswer;
    QTimer answerer;
    connect(&answerer, &QTimer::timeout, this, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box || !box->defaultButton())
            return;
        asked = box->text();
        defaultAnswer = box->defaultButton()->text();
        box->defaultButton()->click();
    });
    answerer.start(10);
    QSignalSpy closed(m_window.get(), &TForm1::closed);
    child<QPushButton>(QStringLiteral("KonecButton"))->click();
    answerer.stop();
    QCOMPARE(asked, QStringLiteral("Závod právě běží. Opravdu ukončit program?"));
    QCOMPARE(defaultAnswer, QStringLiteral("Ne"));
    QCOMPARE(closed.count(), 0);
    QVERIFY(m_window->race().running());
    m_window->hooks().confirmQuitDuringRace = [&] {
        ++questions;
        return answer;
    };
    child<QPushButton>(QStringLiteral("KonecButton"))->click();
    QCOMPARE(questions, 1);
    QCOMPARE(closed.count(), 0);

    answer = true;
    child<QPushButton>(QStringLiteral("KonecButton"))->click();
    QCOMPARE(questions, 2);
    QCOMPARE(closed.count(), 1);
    QVERIFY(!m_window->isVisible());
    QVERIFY(!m_window->race().running());
    QCOMPARE(accounted, 0);
    QCOMPARE(written, 1);
    QCOMPARE(m_window->lapList(1).count(), 1);
    const QStringList kept = QDir(QDir(m_data->path()).filePath(QStringLiteral("vysledky")))
                                 .entryList({QStringLiteral("* kara1.txt")}, QDir::Files);
    QCOMPARE(kept.size(), 1);
}

void MainWindowTest::sigtermClosesLikeKonec() {
    m_window->FormActivate();
    m_window->installShutdownSignals();
    int written = 0;
    m_window->hooks().writeKartEngineTimes = [&] { ++written; };
    int questions = 0;
    m_window->hooks().confirmQuitDuringRace = [&] { return ++questions, false; };
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
    // During a race: a logout does not wait for an answer, and the race is kept.
    child<QPushButton>(QStringLiteral("StartButton1"))->click();
    QVERIFY(m_window->race().running());
    m_backend->addPulse(m_clock.nowMs() + 30000, m_clock.nowMs() + 30040,
                        m_window->race().channel(1).InputMask);
    m_scheduler.advance(31000);
    QCOMPARE(m_window->lapList(1).count(), 1);
    QSignalSpy closed(m_window.get(), &TForm1::closed);
    ::raise(SIGTERM);
    QTRY_COMPARE(closed.count(), 1);
    QCOMPARE(questions, 0);
    QVERIFY(!m_window->isVisible());
    QCOMPARE(written, 1);
    QVERIFY(!m_window->SmallPort1().Opened());
    const QStringList kept = QDir(QDir(m_data->path()).filePath(QStringLiteral("vysledky")))
                                 .entryList({QStringLiteral("* kara1.txt")}, QDir::Files);
    QCOMPARE(kept.size(), 1);

    // The handlers go with the window: a second window installs its own.
    m_window.reset();
    m_window = makeWindow();
    m_window->installShutdownSignals();
    m_window->show();
    QSignalSpy closedAgain(m_window.get(), &TForm1::closed);
    ::raise(SIGINT);
    QTRY_COMPARE(closedAgain.count(), 1);
}

void MainWindowTest::shortRaceThroughTheWindow() {
    m_settings.HW.Prodleva = 500;
    m_settings.HW.Rizeni = false;
    m_settings.Ostatni.UlozitZavody = false;
    m_window->show();
    m_window->FormActivate();
    QVERIFY(m_window->SmallPort1().Opened());

    // The light sequence runs on virtual time: red, orange, then green when the race starts.
    child<QPushButton>(QStringLiteral("StartButton1"))->click();
    QVERIFY(m_window->race().running());
    QVERIFY(child<SignalLamp>(QStringLiteral("Led_zelena"))->isOn());
    const qint64 start = m_window->race().startTick();
    // Kart 1 passes at 300 and 1200 ms, kart 3 at 700 ms; a hit in kart 1's dead time is ignored.
    const quint8 kart1 = m_window->race().channel(1).InputMask;
    const quint8 kart3 = m_window->race().channel(3).InputMask;
    m_backend->addPulse(start + 300, start + 330, kart1);
    m_backend->addPulse(start + 500, start + 530, kart1);
    m_backend->addPulse(start + 700, start + 730, kart3);
    m_backend->addPulse(start + 1200, start + 1230, kart1);
    m_scheduler.advance(1500);
    QCOMPARE(child<SevenSegmentDisplay>(QStringLiteral("LcdDisplay2"))->value(), 1);
    child<QPushButton>(QStringLiteral("StartButton1"))->click();
    QVERIFY(!m_window->race().running());
    QCOMPARE(child<QPushButton>(QStringLiteral("StartButton1"))->text(), QStringLiteral("START"));
    QVERIFY(child<QPushButton>(QStringLiteral("Button1"))->isEnabled());
    QVERIFY(child<SignalLamp>(QStringLiteral("Led_cervena"))->isOn());

    // Each hit is seen at the first 2 ms sample after it; a lap is the time between two such samples.
    const auto within = [](const QStringList& laps, int index, qint64 expected) {
        const qint64 lap = ParseLapTime(laps.at(index));
        return lap >= expected && lap < expected + TRace::SamplerIntervalMs;
    };
    const QStringList laps1 = m_window->lapList(1).entries();
    const QStringList laps3 = m_window->lapList(3).entries();
    QCOMPARE(laps1.size(), 2);
    QVERIFY2(within(laps1, 0, 300), qPrintable(laps1.join(QLatin1Char(' '))));
    QVERIFY2(ParseLapTime(laps1.at(1)) - 900 <= 1 && 900 - ParseLapTime(laps1.at(1)) <= 1,
             qPrintable(laps1.join(QLatin1Char(' '))));
    QCOMPARE(laps3.size(), 1);
    QVERIFY2(within(laps3, 0, 700), qPrintable(laps3.join(QLatin1Char(' '))));
    QCOMPARE(m_window->lapList(2).count(), 0);
    QCOMPARE(m_window->lapList(4).count(), 0);
    QCOMPARE(child<LapListView>(QStringLiteral("Kola_mezicas1"))->count(), 2);
}

void MainWindowTest::scenarioRaceOnTheVirtualTrack() {
    // The external start button starts the race; karts 1 and 3 lap; the same button stops it.
    const QString scenario = QStringLiteral("100 start\n1100 pass 1\n1500 pass 3\n2000 pass 1\n2300 start\n");
    QList<ScenarioReader::LineError> errors;
    const QList<ScenarioEvent> events = ScenarioReader::parse(scenario, &errors);
    QVERIFY(errors.isEmpty());
    m_settings.Ostatni.ExtStart = true;
    m_settings.Semafor.Pouzij = false;
    m_settings.HW.Prodleva = 500;
    m_settings.HW.Rizeni = false;
    VirtualTrack track(m_settings, m_clock);
    PortOptions options;
    options.simulate = true;
    m_window = makeWindow(PortBackendFactory::createBackend(options, &track));
    m_window->show();
    m_window->FormActivate();
    QVERIFY(m_window->SmallPort1().Opened());
    QVERIFY(m_window->statusBarPanels().portOpen());

    track.start();
    const qint64 origin = m_clock.nowMs();
    track.replay(events);
    QVERIFY(m_scheduler.advanceUntil([&] { return m_window->race().running(); }, 1000));
    QCOMPARE(child<QPushButton>(QStringLiteral("StartButton1"))->text(), QStringLiteral("STOP"));
    // The watch samples the button like a sensor, and the race starts at the press.
    const qint64 startAt = m_window->race().startTick() - origin;
    QVERIFY2(startAt >= 100 && startAt <= 100 + qint64(ExternalStartWatch::IntervalMs),
             qPrintable(QString::number(startAt)));
    m_scheduler.advanceTo(origin + 2200);
    QVERIFY(m_window->race().running());
    QVERIFY(m_scheduler.advanceUntil([&] { return !m_window->race().running(); }, 1000));
    QCOMPARE(child<QPushButton>(QStringLiteral("StartButton1"))->text(), QStringLiteral("START"));
    QVERIFY(m_window->externalStart().enabled());

    const QStringList laps1 = m_window->lapList(1).entries();
    const QStringList laps3 = m_window->lapList(3).entries();
    QCOMPARE(laps1.size(), 2);
    QCOMPARE(laps3.size(), 1);
    // Each pass is seen at the first 2 ms sample after it.
    const auto within = [](const QString& text, qint64 expected) {
        const qint64 lap = ParseLapTime(text);
        return lap >= expected - 1 && lap <= expected + TRace::SamplerIntervalMs;
    };
    QVERIFY2(within(laps1.at(0), 1100 - startAt), qPrintable(laps1.join(QLatin1Char(' '))));
    QVERIFY2(within(laps1.at(1), 900), qPrintable(laps1.join(QLatin1Char(' '))));
    QVERIFY2(within(laps3.at(0), 1500 - startAt), qPrintable(laps3.join(QLatin1Char(' '))));
    QCOMPARE(m_window->lapList(2).count(), 0);
    m_window.reset(); // before the track it reads
}

void MainWindowTest::samplesThatComeLateAreSaidOnTheStatusBar() {
    m_window->show();
    m_window->FormActivate();
    child<QPushButton>(QStringLiteral("StartButton1"))->click();
    m_scheduler.advance(600);
    QVERIFY(!m_window->statusBarPanels().findChild<QLabel*>(QStringLiteral("LateSamplesPanel")));

    // The machine stalls for 30 ms: the next samples of every kart come late, and a pass of 40 ms
    // could have been missed. The operator is told with the next clock tick.
    m_clock.advance(30);
    m_scheduler.advance(300);
    auto* late = m_window->statusBarPanels().findChild<QLabel*>(QStringLiteral("LateSamplesPanel"));
    QVERIFY(late);
    QVERIFY(late->text().startsWith(QStringLiteral("Měření se zpozdilo (")));
    QVERIFY(late->isVisible());
    child<QPushButton>(QStringLiteral("StartButton1"))->click();
}

void MainWindowTest::aSerialDeviceLostMidRaceIsSaidAndTheRaceGoesOn() {
    if (!SocatPtyPair::socatAvailable())
        QSKIP("socat is not installed");
    SocatPtyPair pty;
    QString why;
    QVERIFY2(pty.start(&why), qPrintable(why));
    m_settings.PoSpusteni.LPT = false;
    m_settings.PoSpusteni.COM = true;
    m_settings.Semafor.Pouzij = false;
    m_settings.HW.Rizeni = false;
    m_settings.Ostatni.UlozitZavody = false;
    m_settings.Com.Sekvence[TSettings::sequenceSlot(1, 0)] = "K1";
    TComPort& port = m_window->ComPort1();
    SerialParameters parameters;
    parameters.Port = pty.portA();
    port.setParameters(parameters);
    m_window->show();
    m_window->FormActivate();
    auto* news = m_window->statusBarPanels().findChild<QLabel*>(QStringLiteral("SerialPortNews"));
    QVERIFY(news);
    QVERIFY(news->text().isEmpty());

    child<QPushButton>(QStringLiteral("StartButton1"))->click();
    QVERIFY(port.isOpen());
    pty.stop();
    QVERIFY(QTest::qWaitFor([&] { return !port.isOpen(); }, 10000));
    QVERIFY(m_window->race().running());
    QCOMPARE(news->text(), QStringLiteral("Sériový port ztracen"));
    QCOMPARE(news->toolTip(), QStringLiteral("Ztraceno spojení se sériovým portem %1. Závod běží dál, port "
                                             "se znovu otevře, jakmile bude zařízení zpět.")
                                  .arg(pty.portA()));
    QVERIFY(news->palette().color(QPalette::WindowText) != m_window->palette().color(QPalette::WindowText));
    QVERIFY2(news->fontMetrics().horizontalAdvance(news->text()) <= news->contentsRect().width(),
             "the text is shown whole");

    QVERIFY2(pty.start(&why), qPrintable(why));
    QVERIFY(m_scheduler.advanceUntil([&] { return port.isOpen(); }, 1000));
    QCOMPARE(news->text(), QStringLiteral("Sériový port znovu připojen"));
    QCOMPARE(news->toolTip(), QStringLiteral("Sériový port %1 je znovu připojen.").arg(pty.portA()));
    QVERIFY2(news->fontMetrics().horizontalAdvance(news->text()) <= news->contentsRect().width(),
             "the text is shown whole");
    QVERIFY(pty.send("K1"));
    QVERIFY(QTest::qWaitFor([&] { return m_window->race().channel(1).hasPendingHit(); }, 10000));
    m_scheduler.advance(TRace::SamplerIntervalMs);
    QCOMPARE(m_window->lapList(1).count(), 1);

    child<QPushButton>(QStringLiteral("StartButton1"))->click();
    QVERIFY(!port.isOpen());
    child<QPushButton>(QStringLiteral("StartButton1"))->click();
    QVERIFY(port.isOpen());
    QVERIFY2(news->text().isEmpty(), "the next START's open makes old news");
    child<QPushButton>(QStringLiteral("StartButton1"))->click();
}

QTEST_MAIN(MainWindowTest)
#include "MainWindowTest.moc"
