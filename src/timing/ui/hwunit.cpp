#include "timing/ui/hwunit.h"

#include "ui_hwunit.h"

#include "config/TSettings.h"
#include "hardware/PortBackend.h"
#include "hardware/TSmallPort.h"
#include "platform/ProcessPriority.h"
#include "platform/ShutdownSignals.h"
#include "timing/ui/Lamp.h"
#include "timing/ui/LapFileDialogs.h"
#include "timing/ui/LapListView.h"
#include "timing/ui/MainStatusBar.h"
#include "timing/ui/SevenSegmentDisplay.h"

#include <QCloseEvent>
#include <QDir>
#include <QGuiApplication>
#include <QScreen>
#include <QMenu>
#include <QPainter>
#include <QPainterPath>
#include <QStringListModel>

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

TForm1::TForm1(TSettings& settings, const QString& dataFolder, std::unique_ptr<PortBackend> portBackend,
               QWidget* parent)
    : QMainWindow(parent), m_ui(std::make_unique<Ui::TForm1>()), m_settings(settings),
      m_dataFolder(dataFolder), m_port(std::make_unique<TSmallPort>(std::move(portBackend))) {
    m_ui->setupUi(this);
    m_port->setObjectName(QStringLiteral("SmallPort1"));
    m_ui->StartButton1->setIcon(startIcon());

    m_statusBar = new MainStatusBar(this);
    m_statusBar->setObjectName(QStringLiteral("StatusBar1"));
    setStatusBar(m_statusBar);
    connect(m_port.get(), &TSmallPort::openedChanged, m_statusBar, &MainStatusBar::setPortOpen);

    m_lapFileDialogs = std::make_unique<LapFileDialogs>(this);
    buildLapColumns();
    connectButtons();
    setLamps(false, false, false);

    FormCreate();

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
    const std::array<LapListView*, kKarts> lists = {m_ui->Kola_mezicas1, m_ui->Kola_mezicas2,
                                                    m_ui->Kola_mezicas3, m_ui->Kola_mezicas4};
    for (int k = 1; k <= kKarts; ++k) {
        LapListView* list = lists[k - 1];
        m_lapModels[k - 1] = new QStringListModel(this);
        list->setModel(m_lapModels[k - 1]);

        auto* menu = new QMenu(this);
        menu->setObjectName(QStringLiteral("PopupMenu%1").arg(k));
        QAction* offer = menu->addAction(QStringLiteral("Vložit do tab. Top 20"));
        offer->setObjectName(QStringLiteral("Vlozitdotab%1").arg(k));
        connect(offer, &QAction::triggered, this, [this, k] {
            if (m_hooks.offerToBestTwenty)
                m_hooks.offerToBestTwenty(k);
        });
        QAction* remove = menu->addAction(QStringLiteral("Smazat záznam"));
        remove->setObjectName(QStringLiteral("Smazatzaznam%1").arg(k));
        connect(remove, &QAction::triggered, this, [this, k] { deleteSelectedLap(k); });
        m_popupMenus[k - 1] = menu;
        connect(list, &QWidget::customContextMenuRequested, this,
                [this, k](const QPoint& position) { showPopupMenu(k, position); });
    }
}

void TForm1::connectButtons() {
    connect(m_ui->StartButton1, &QPushButton::clicked, this, &TForm1::StartButton1Click);
    connect(m_ui->Statistika, &QPushButton::clicked, this, &TForm1::StatistikaClick);
    connect(m_ui->stav_motokar, &QPushButton::clicked, this, &TForm1::stav_motokarClick);
    connect(m_ui->Nastaveni_Button, &QPushButton::clicked, this, &TForm1::Nastaveni_ButtonClick);
    connect(m_ui->About, &QPushButton::clicked, this, &TForm1::AboutClick);
    connect(m_ui->Button1, &QPushButton::clicked, this, &TForm1::Button1Click);
    connect(m_ui->TopTen10, &QPushButton::clicked, this, &TForm1::TopTen10Click);
    connect(m_ui->KonecButton, &QPushButton::clicked, this, &TForm1::KonecButtonClick);
    connect(m_ui->CasZavodu, qOverload<int>(&QSpinBox::valueChanged), this, &TForm1::CasZavoduChange);

    connect(m_ui->Smazat1, &QPushButton::clicked, this, &TForm1::Smazat1Click);
    connect(m_ui->Smazat2, &QPushButton::clicked, this, &TForm1::Smazat2Click);
    connect(m_ui->Smazat3, &QPushButton::clicked, this, &TForm1::Smazat3Click);
    connect(m_ui->Smazat4, &QPushButton::clicked, this, &TForm1::Smazat4Click);
    connect(m_ui->BitBtn1, &QPushButton::clicked, this, &TForm1::Uloz1Click);
    connect(m_ui->BitBtn2, &QPushButton::clicked, this, &TForm1::Uloz2Click);
    connect(m_ui->BitBtn3, &QPushButton::clicked, this, &TForm1::Uloz3Click);
    connect(m_ui->BitBtn4, &QPushButton::clicked, this, &TForm1::Uloz4Click);
    connect(m_ui->Nacti1, &QPushButton::clicked, this, &TForm1::Nacti1Click);
    connect(m_ui->Nacti2, &QPushButton::clicked, this, &TForm1::Nacti2Click);
    connect(m_ui->Nacti3, &QPushButton::clicked, this, &TForm1::Nacti3Click);
    connect(m_ui->Nacti4, &QPushButton::clicked, this, &TForm1::Nacti4Click);
}

void TForm1::callHook(const std::function<void()>& hook) {
    if (hook)
        hook();
}

// --- creation, activation, closing ---------------------------------------------------------------

void TForm1::FormCreate() {
    // The race's per-channel marks start at zero with the race itself.
    m_lapFileDialogs->setInitialDirectory(QDir(m_dataFolder).filePath(QStringLiteral("vysledky")));
    if (m_hooks.readCreationSettings)
        m_hooks.readCreationSettings(m_settings);
    ProcessPriority::apply(m_settings.Ostatni.Priorita);
}

bool TForm1::event(QEvent* event) {
    if (event->type() == QEvent::WindowActivate)
        FormActivate();
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
    if (m_settings.PoSpusteni.LPT && !m_port->Opened())
        m_port->setOpened(true);
    callHook(m_hooks.finishReadingSettings);
    // Steps 5, 6, 7 and 9 belong to the race and the port: external start watch, timer intervals,
    // port base and resting value, control pulse.
    m_statusBar->setPortOpen(m_port->Opened());
    if (!m_port->Opened() && m_settings.PoSpusteni.LPT)
        callHook(m_hooks.showPortError);
    callHook(m_hooks.showMasksInSettings);
    m_ui->CasZavodu->setValue(10);
    callHook(m_hooks.kartUpkeepAtStart);
    m_activated = true;
}

void TForm1::closeEvent(QCloseEvent* event) {
    FormClose();
    event->accept();
}

void TForm1::FormClose() {
    if (m_closed)
        return;
    m_closed = true;
    m_port->setOpened(false);
    callHook(m_hooks.closeSerialPort);
    callHook(m_hooks.writeKartEngineTimes);
    emit closed();
}

void TForm1::FormDestroy() {
    m_mediaPlayer.close();
}

void TForm1::installShutdownSignals() {
    if (m_shutdownSignals)
        return;
    m_shutdownSignals = new ShutdownSignals(this);
    connect(m_shutdownSignals, &ShutdownSignals::shutdownRequested, this, &TForm1::KonecButtonClick);
}

// --- the race's view -----------------------------------------------------------------------------

void TForm1::showClock(int minutes, int seconds, int millis) {
    m_ui->LcdDisplay3->setValue(minutes);
    m_ui->LcdDisplay2->setValue(seconds);
    m_ui->LcdDisplay1->setValue(millis);
}

void TForm1::setLamps(bool red, bool orange, bool green) {
    m_ui->Led_cervena->setOn(red);
    m_ui->LED_oranzova->setOn(orange);
    m_ui->Led_zelena->setOn(green);
}

void TForm1::setRaceRunning(bool running) {
    m_ui->StartButton1->setText(startButtonCaption(running));
}

void TForm1::setRaceButtonsEnabled(bool enabled) {
    m_ui->stav_motokar->setEnabled(enabled);
    m_ui->Statistika->setEnabled(enabled);
    m_ui->Button1->setEnabled(enabled);
    m_ui->TopTen10->setEnabled(enabled);
}

int TForm1::raceMinutes() const {
    return m_ui->CasZavodu->value();
}

LapListView* TForm1::lapList(int kart) const {
    const std::array<LapListView*, kKarts> lists = {m_ui->Kola_mezicas1, m_ui->Kola_mezicas2,
                                                    m_ui->Kola_mezicas3, m_ui->Kola_mezicas4};
    return kart >= 1 && kart <= kKarts ? lists[kart - 1] : nullptr;
}

QCheckBox* TForm1::zenaBox(int kart) const {
    const std::array<QCheckBox*, kKarts> boxes = {m_ui->ZenaBox1, m_ui->ZenaBox2, m_ui->ZenaBox3,
                                                  m_ui->ZenaBox4};
    return kart >= 1 && kart <= kKarts ? boxes[kart - 1] : nullptr;
}

QCheckBox* TForm1::ucastBox(int kart) const {
    const std::array<QCheckBox*, kKarts> boxes = {m_ui->UcastBox1, m_ui->UcastBox2, m_ui->UcastBox3,
                                                  m_ui->UcastBox4};
    return kart >= 1 && kart <= kKarts ? boxes[kart - 1] : nullptr;
}

SevenSegmentDisplay* TForm1::lcdDisplay(int index) const {
    const std::array<SevenSegmentDisplay*, 3> displays = {m_ui->LcdDisplay1, m_ui->LcdDisplay2,
                                                          m_ui->LcdDisplay3};
    return index >= 1 && index <= 3 ? displays[index - 1] : nullptr;
}

Lamp* TForm1::led(int index) const {
    const std::array<Lamp*, 3> lamps = {m_ui->Led_cervena, m_ui->LED_oranzova, m_ui->Led_zelena};
    return index >= 0 && index <= 2 ? lamps[index] : nullptr;
}

// --- buttons -------------------------------------------------------------------------------------

void TForm1::StartButton1Click() {}

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
    emit raceMinutesChanged(minutes);
}

// --- lap lists -----------------------------------------------------------------------------------

void TForm1::clearLaps(int kart) {
    m_lapModels[kart - 1]->setStringList({});
}

void TForm1::saveLaps(int kart) {
    const QString file = m_lapFileDialogs->askSaveFile(kart);
    if (file.isEmpty())
        return;
}

void TForm1::loadLaps(int kart) {
    const QString file = m_lapFileDialogs->askOpenFile(kart);
    if (file.isEmpty())
        return;
}

void TForm1::deleteSelectedLap(int kart) {
    const int row = lapList(kart)->selectedRow();
    if (row >= 0)
        m_lapModels[kart - 1]->removeRow(row);
}

void TForm1::showPopupMenu(int kart, const QPoint& position) {
    m_popupMenus[kart - 1]->popup(lapList(kart)->viewport()->mapToGlobal(position));
}
