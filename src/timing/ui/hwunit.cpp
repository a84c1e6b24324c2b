#include "timing/ui/hwunit.h"

#include "ui_hwunit.h"

#include "base/ErrorBoundary.h"
#include "base/Hooks.h"
#include "base/MonotonicClock.h"
#include "config/DataFolder.h"
#include "config/TSettings.h"
#include "hardware/PortBackend.h"
#include "hardware/SerialPortRecovery.h"
#include "hardware/TComPort.h"
#include "hardware/TSmallPort.h"
#include "platform/ProcessPriority.h"
#include "platform/ShutdownSignals.h"
#include "timing/LapFile.h"
#include "timing/LapList.h"
#include "timing/Station.h"
#include "timing/TRace.h"
#include "timing/ThreadedTimerFactory.h"
#include "timing/ui/LapFileDialogs.h"
#include "timing/ui/LapListView.h"
#include "timing/ui/MainStatusBar.h"
#include "timing/ui/SevenSegmentDisplay.h"
#include "timing/ui/SignalLamp.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QPainter>
#include <QPushButton>
#include <QScreen>

namespace {

constexpr int kKarts = 4;

// The START button's picture: a chequered flag on a green disc.
QIcon startIcon() {
    QPixmap pixmap(32, 32);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(0x00, 0x60, 0x00), 1.5));
    p.setBrush(QColor(0x20, 0xb0, 0x20));
    p.drawEllipse(QRectF(1, 1, 30, 30));
    for (int row = 0; row < 3; ++row)
        for (int column = 0; column < 4; ++column)
            p.fillRect(QRectF(8 + column * 4.5, 9 + row * 4.5, 4.5, 4.5),
                       (row + column) % 2 ? QColor(0x10, 0x10, 0x10) : Qt::white);
    p.setPen(QPen(QColor(0x10, 0x10, 0x10), 1.5));
    p.drawLine(QPointF(8, 9), QPointF(8, 25));
    return QIcon(pixmap);
}

} // namespace

TForm1::TForm1(TForm1Deps deps, QWidget* parent)
    : QMainWindow(parent), m_ui(std::make_unique<Ui::TForm1>()), m_settings(deps.settings),
      m_dataFolder(deps.dataFolder) {
    m_ui->setupUi(this);
    m_ui->StartButton1->setIcon(startIcon());
    // The race time counts once the operator has finished typing it: "15" typed over "10" must not
    // pass through 1 minute, which would signal the end of a race already past it.
    m_ui->CasZavodu->setKeyboardTracking(false);

    m_statusBar = new MainStatusBar(this);
    m_statusBar->setObjectName(QStringLiteral("StatusBar1"));
    setStatusBar(m_statusBar);

    m_lapFileDialogs = std::make_unique<LapFileDialogs>(this);
    m_station = std::make_unique<Station>(
        StationDeps{m_settings, m_dataFolder, std::move(deps.portBackend),
                    deps.clock ? *deps.clock : SteadyClock::instance(),
                    deps.timers ? *deps.timers : ThreadedTimerFactory::instance(), m_mediaPlayer, *this,
                    std::move(deps.lightWait), deps.raceSerial});
    connect(&SmallPort1(), &TSmallPort::openedChanged, m_statusBar, &MainStatusBar::setPortOpen);
    // A fresh open of the serial port makes old news of a lost device; a reopen after the loss says
    // so right after.
    connect(&ComPort1(), &TComPort::openedChanged, m_statusBar, [this](bool open) {
        if (open)
            m_statusBar->clearSerialPortNews();
    });
    connect(&m_station->serialRecovery(), &SerialPortRecovery::lost, m_statusBar,
            &MainStatusBar::showSerialPortLost);
    connect(&m_station->serialRecovery(), &SerialPortRecovery::restored, m_statusBar,
            &MainStatusBar::showSerialPortBack);
    buildLapColumns();
    connectButtons();
    buildDriverControls();
    setLamp(Lamp::Red, false);
    setLamp(Lamp::Orange, false);
    setLamp(Lamp::Green, false);

    FormCreate(deps);

    // Fixed size, with a system menu and a minimise button but no maximise button.
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint |
                   (m_settings.Ostatni.OnTop ? Qt::WindowStaysOnTopHint : Qt::Widget));
    m_ui->CasLayout->insertStretch(0);
    m_ui->CasLayout->addStretch();
    setFixedSize(sizeHint());
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}

TForm1::~TForm1() {
    FormDestroy();
}

void TForm1::buildLapColumns() {
    for (int k = 1; k <= kKarts; ++k) {
        LapListView* list = lapListView(k);
        list->bind(&lapList(k));

        auto* menu = new QMenu(this);
        menu->setObjectName(QStringLiteral("PopupMenu%1").arg(k));
        QAction* offer = menu->addAction(QStringLiteral("Vložit do tab. Top 20"));
        offer->setObjectName(QStringLiteral("Vlozitdotab%1").arg(k));
        connect(offer, &QAction::triggered, this,
                ErrorBoundary::guardedSlot([this, k] { callHook(m_hooks.offerToBestTwenty, k); }));
        QAction* remove = menu->addAction(QStringLiteral("Smazat záznam"));
        remove->setObjectName(QStringLiteral("Smazatzaznam%1").arg(k));
        connect(remove, &QAction::triggered, this,
                ErrorBoundary::guardedSlot([this, k] { deleteSelectedLap(k); }));
        m_popupMenus[k - 1] = menu;
        connect(list, &QWidget::customContextMenuRequested, this,
                [this, k](const QPoint& position) { showPopupMenu(k, position); });
    }
}

void TForm1::connectButtons() {
    // Each handler is the boundary of its action: what it raises is reported there, not thrown into Qt.
    using ErrorBoundary::guardedSlot;
    connect(m_ui->StartButton1, &QPushButton::clicked, this, guardedSlot(this, &TForm1::StartButton1Click));
    connect(m_ui->Statistika, &QPushButton::clicked, this, guardedSlot(this, &TForm1::StatistikaClick));
    connect(m_ui->stav_motokar, &QPushButton::clicked, this, guardedSlot(this, &TForm1::stav_motokarClick));
    connect(m_ui->Nastaveni_Button, &QPushButton::clicked, this,
            guardedSlot(this, &TForm1::Nastaveni_ButtonClick));
    connect(m_ui->About, &QPushButton::clicked, this, guardedSlot(this, &TForm1::AboutClick));
    connect(m_ui->Button1, &QPushButton::clicked, this, guardedSlot(this, &TForm1::Button1Click));
    connect(m_ui->TopTen10, &QPushButton::clicked, this, guardedSlot(this, &TForm1::TopTen10Click));
    connect(m_ui->KonecButton, &QPushButton::clicked, this, guardedSlot(this, &TForm1::KonecButtonClick));
    connect(m_ui->CasZavodu, qOverload<int>(&QSpinBox::valueChanged), this,
            guardedSlot(this, &TForm1::CasZavoduChange));

    connect(m_ui->Smazat1, &QPushButton::clicked, this, guardedSlot(this, &TForm1::Smazat1Click));
    connect(m_ui->Smazat2, &QPushButton::clicked, this, guardedSlot(this, &TForm1::Smazat2Click));
    connect(m_ui->Smazat3, &QPushButton::clicked, this, guardedSlot(this, &TForm1::Smazat3Click));
    connect(m_ui->Smazat4, &QPushButton::clicked, this, guardedSlot(this, &TForm1::Smazat4Click));
    connect(m_ui->BitBtn1, &QPushButton::clicked, this, guardedSlot(this, &TForm1::Uloz1Click));
    connect(m_ui->BitBtn2, &QPushButton::clicked, this, guardedSlot(this, &TForm1::Uloz2Click));
    connect(m_ui->BitBtn3, &QPushButton::clicked, this, guardedSlot(this, &TForm1::Uloz3Click));
    connect(m_ui->BitBtn4, &QPushButton::clicked, this, guardedSlot(this, &TForm1::Uloz4Click));
    connect(m_ui->Nacti1, &QPushButton::clicked, this, guardedSlot(this, &TForm1::Nacti1Click));
    connect(m_ui->Nacti2, &QPushButton::clicked, this, guardedSlot(this, &TForm1::Nacti2Click));
    connect(m_ui->Nacti3, &QPushButton::clicked, this, guardedSlot(this, &TForm1::Nacti3Click));
    connect(m_ui->Nacti4, &QPushButton::clicked, this, guardedSlot(this, &TForm1::Nacti4Click));
}

TSmallPort& TForm1::SmallPort1() {
    return m_station->port();
}

TComPort& TForm1::ComPort1() {
    return m_station->comPort();
}

TRace& TForm1::race() {
    return m_station->race();
}

ExternalStartWatch& TForm1::externalStart() {
    return m_station->externalStart();
}

LapList& TForm1::lapList(int kart) {
    return m_station->lapList(kart);
}

// --- creation, activation, closing ---------------------------------------------------------------

void TForm1::FormCreate(const TForm1Deps& deps) {
    m_lapFileDialogs->setInitialDirectory(DataFolder(m_dataFolder).folderPath(QStringLiteral("vysledky")));
    callHook(deps.readCreationSettings, m_settings);
    if (deps.applyProcessPriority)
        deps.applyProcessPriority(m_settings.Ostatni.Priorita);
    else
        ProcessPriority::apply(m_settings.Ostatni.Priorita);
}

bool TForm1::event(QEvent* event) {
    if (event->type() == QEvent::WindowActivate)
        ErrorBoundary::guarded([this] { FormActivate(); });
    return QMainWindow::event(event);
}

void TForm1::FormActivate() {
    // Modal windows shown by the steps below re-activate this window when they close; that must not
    // start the sequence again while it runs.
    if (m_activated || m_activating)
        return;
    m_activating = true;
    struct Reset {
        bool& flag;
        ~Reset() { flag = false; }
    } reset{m_activating};

    m_statusBar->setToolTip(QStringLiteral(
        " Pokud nepracuje ovladač LPT portu správně\r\n     je stav zobrazen červenou barvou"));
    callHook(m_hooks.readSettingsFile);
    TSmallPort& port = SmallPort1();
    if (m_settings.PoSpusteni.LPT && !port.Opened())
        port.setOpened(true);
    callHook(m_hooks.finishReadingSettings);
    m_station->applyStartupSettings();
    m_statusBar->setPortOpen(port.Opened());
    if (!port.Opened() && m_settings.PoSpusteni.LPT)
        callHook(m_hooks.showPortError);
    m_station->startAfterStartup();
    // The audience window learns the race length from the change; a field already at 10 reports none.
    const bool alreadyTen = m_ui->CasZavodu->value() == 10;
    m_ui->CasZavodu->setValue(10);
    if (alreadyTen)
        CasZavoduChange(10);
    callHook(m_hooks.displaysAtStart);
    callHook(m_hooks.kartUpkeepAtStart);
    // After the kart records are loaded, which the recovered race's engine time adds to.
    callHook(m_hooks.recoverUnfinishedRace);
    m_activated = true;
    callHook(m_hooks.activated);
}

void TForm1::closeEvent(QCloseEvent* event) {
    if (!m_closed && race().running() && !m_closingBySignal && !confirmQuitDuringRace()) {
        event->ignore();
        return;
    }
    FormClose();
    event->accept();
}

bool TForm1::confirmQuitDuringRace() {
    if (m_hooks.confirmQuitDuringRace)
        return m_hooks.confirmQuitDuringRace();
    QMessageBox box(QMessageBox::Question, windowTitle(),
                    QStringLiteral("Závod právě běží. Opravdu ukončit program?"),
                    QMessageBox::Yes | QMessageBox::No, this);
    box.button(QMessageBox::Yes)->setText(QStringLiteral("Ano"));
    box.button(QMessageBox::No)->setText(QStringLiteral("Ne"));
    box.setDefaultButton(QMessageBox::No);
    return box.exec() == QMessageBox::Yes;
}

void TForm1::FormClose() {
    if (m_closed)
        return;
    m_closed = true;
    // Each step on its own: a failing one is reported, and the program still ends.
    ErrorBoundary::guarded([this] { m_station->shutDown(); });
    ErrorBoundary::guarded([this] { callHook(m_hooks.writeKartEngineTimes); });
    emit closed();
}

void TForm1::FormDestroy() {
    // The lists go before the widgets that show them.
    for (int k = 1; k <= kKarts; ++k)
        lapListView(k)->bind(nullptr);
    m_mediaPlayer.close();
}

void TForm1::installShutdownSignals() {
    if (m_shutdownSignals)
        return;
    m_shutdownSignals = new ShutdownSignals(this);
    connect(m_shutdownSignals, &ShutdownSignals::shutdownRequested, this, ErrorBoundary::guardedSlot([this] {
                m_closingBySignal = true;
                close();
            }));
}

// --- the race's view -----------------------------------------------------------------------------

void TForm1::setLamp(Lamp lamp, bool on) {
    switch (lamp) {
    case Lamp::Red:
        m_ui->Led_cervena->setOn(on);
        break;
    case Lamp::Orange:
        m_ui->LED_oranzova->setOn(on);
        break;
    case Lamp::Green:
        m_ui->Led_zelena->setOn(on);
        break;
    }
}

void TForm1::repaintStartGroup() {
    if (m_ui->StartGroup->isVisible())
        m_ui->StartGroup->repaint();
}

void TForm1::setRunning(bool running) {
    m_ui->StartButton1->setText(running ? QStringLiteral("STOP") : QStringLiteral("START"));
}

void TForm1::setButtonEnabled(RaceButton button, bool enabled) {
    switch (button) {
    case RaceButton::StavKar:
        m_ui->stav_motokar->setEnabled(enabled);
        break;
    case RaceButton::Statistika:
        m_ui->Statistika->setEnabled(enabled);
        break;
    case RaceButton::Tisk:
        m_ui->Button1->setEnabled(enabled);
        break;
    case RaceButton::TopTen:
        m_ui->TopTen10->setEnabled(enabled);
        break;
    }
}

SevenSegmentDisplay* TForm1::display(ClockDisplay display) const {
    switch (display) {
    case ClockDisplay::Millis:
        return m_ui->LcdDisplay1;
    case ClockDisplay::Seconds:
        return m_ui->LcdDisplay2;
    case ClockDisplay::Minutes:
        break;
    }
    return m_ui->LcdDisplay3;
}

void TForm1::setClockDisplay(ClockDisplay which, int value) {
    display(which)->setValue(value);
}

int TForm1::clockDisplay(ClockDisplay which) const {
    return display(which)->value();
}

int TForm1::raceMinutes() const {
    return m_ui->CasZavodu->value();
}

void TForm1::processPendingEvents() {
    QCoreApplication::processEvents();
}

void TForm1::showError(const QString& message) {
    if (m_hooks.showError)
        m_hooks.showError(message);
    else
        QMessageBox::critical(this, windowTitle(), message);
}

void TForm1::showLateSamples(int count) {
    m_statusBar->showLateSamples(count);
}

bool TForm1::womanDrives(int kart) const {
    return m_station->driverNames().woman(kart);
}

DriverNames& TForm1::driverNames() {
    return m_station->driverNames();
}

void TForm1::buildDriverControls() {
    // Beside the race time, where the group has room: the drivers' window and the chequered flag.
    auto* drivers = new QPushButton(QStringLiteral("&Jezdci"), m_ui->CasZavoduGroup);
    drivers->setObjectName(QStringLiteral("JezdciButton"));
    drivers->setToolTip(QStringLiteral("Jména jezdců na kárách"));
    drivers->setCursor(Qt::PointingHandCursor);
    m_ui->CasZavoduLayout->addWidget(drivers);
    connect(drivers, &QPushButton::clicked, this,
            ErrorBoundary::guardedSlot([this] { callHook(m_hooks.showDrivers); }));
    m_flag = new QLabel(QStringLiteral("\U0001F3C1"), m_ui->CasZavoduGroup);
    m_flag->setObjectName(QStringLiteral("CilovaVlajka"));
    m_flag->setToolTip(QStringLiteral("Čas závodu uplynul: káry dojíždějí poslední kolo."));
    m_flag->setFixedWidth(m_flag->sizeHint().width());
    // Kept in the layout while hidden, so that the window keeps its size.
    QSizePolicy keepSpace = m_flag->sizePolicy();
    keepSpace.setRetainSizeWhenHidden(true);
    m_flag->setSizePolicy(keepSpace);
    m_ui->CasZavoduLayout->addWidget(m_flag);
    m_flag->hide();

    // The boxes "Žena" and the drivers' window are views of one choice.
    DriverNames& names = m_station->driverNames();
    for (int k = 1; k <= kKarts; ++k) {
        auto* box = findChild<QCheckBox*>(QStringLiteral("ZenaBox%1").arg(k));
        if (!box)
            continue;
        box->setChecked(names.woman(k));
        connect(box, &QCheckBox::toggled, this, [&names, k](bool on) { names.setWoman(k, on); });
        connect(&names, &DriverNames::changed, box, [box, &names, k] { box->setChecked(names.woman(k)); });
    }
}

void TForm1::showChequeredFlag(bool shown) {
    m_flag->setVisible(shown);
}

bool TForm1::excludedFromBestTwenty(int kart) const {
    const auto* box = findChild<QCheckBox*>(QStringLiteral("UcastBox%1").arg(kart));
    return box && box->isChecked();
}

LapListView* TForm1::lapListView(int kart) const {
    const std::array<LapListView*, kKarts> lists = {m_ui->Kola_mezicas1, m_ui->Kola_mezicas2,
                                                    m_ui->Kola_mezicas3, m_ui->Kola_mezicas4};
    return kart >= 1 && kart <= kKarts ? lists[kart - 1] : nullptr;
}

// --- buttons -------------------------------------------------------------------------------------

void TForm1::StartButton1Click() {
    race().StartButton1Click();
}

void TForm1::StatistikaClick() {
    callHook(m_hooks.showStatistics);
}

void TForm1::stav_motokarClick() {
    callHook(m_hooks.showKartStates);
}

void TForm1::Nastaveni_ButtonClick() {
    if (!m_hooks.showSettings)
        return;
    m_hooks.showSettings();
    callHook(m_hooks.writeSerialSection);
}

void TForm1::AboutClick() {
    callHook(m_hooks.showAbout);
}

void TForm1::Button1Click() {
    callHook(m_hooks.showPrintPreview);
}

void TForm1::TopTen10Click() {
    callHook(m_hooks.showBestTwenty);
}

void TForm1::KonecButtonClick() {
    close();
}

void TForm1::CasZavoduChange(int minutes) {
    race().CasZavoduChange(minutes);
}

// --- lap lists -----------------------------------------------------------------------------------

void TForm1::clearLaps(int kart) {
    lapList(kart).clear();
}

void TForm1::saveLaps(int kart) {
    const QString file = m_lapFileDialogs->askSaveFile(kart);
    if (!file.isEmpty())
        saveLapsTo(kart, file);
}

void TForm1::loadLaps(int kart) {
    const QString file = m_lapFileDialogs->askOpenFile(kart);
    if (!file.isEmpty())
        loadLapsFrom(kart, file);
}

void TForm1::saveLapsTo(int kart, const QString& path) {
    saveLapFile(path, lapList(kart).entries());
}

void TForm1::loadLapsFrom(int kart, const QString& path) {
    lapList(kart).setEntries(loadLapTimesFile(path));
}

void TForm1::deleteSelectedLap(int kart) {
    lapList(kart).deleteSelected();
}

void TForm1::showPopupMenu(int kart, const QPoint& position) {
    m_popupMenus[kart - 1]->popup(lapListView(kart)->viewport()->mapToGlobal(position));
}
