#include "hardware/ui/StartupPage.h"

#include "base/ErrorBoundary.h"
#include "base/Hooks.h"
#include "config/SettingsHooks.h"
#include "config/TSettings.h"
#include "hardware/PortBase.h"
#include "hardware/SensorSourceChoice.h"
#include "hardware/TSmallPort.h"
#include "hardware/ui/AutomaticPortRepair.h"
#include "platform/DesktopShortcut.h"
#include "platform/ShellOpen.h"
#include "platform/StartEntry.h"

#include "ui_StartupPage.h"

#include <QButtonGroup>
#include <QCoreApplication>
#include <QFileInfo>
#include <QRegularExpression>
#include <QRegularExpressionValidator>

StartupPage::StartupPage(TSettings& settings, Services services, QWidget* parent)
    : SettingsPage(settings, parent), ui(std::make_unique<Ui::StartupPage>()),
      m_services(std::move(services)) {
    ui->setupUi(this);
    ui->OpravLPT->setToolTip(QStringLiteral(" Použijte pouze v případě \n problému s LPT portem ! "));
    // A port base is at most four hexadecimal digits; a mistyped one kept in the file would point the
    // station at no port at its next start.
    ui->LPTxx_BASE->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9A-Fa-f]{1,4}")), this));
    m_priorityGroup = new QButtonGroup(this);
    m_priorityGroup->addButton(ui->priorita_aplikace0, 0);
    m_priorityGroup->addButton(ui->priorita_aplikace1, 1);
    m_priorityGroup->addButton(ui->priorita_aplikace2, 2);
    m_priorityGroup->addButton(ui->priorita_aplikace3, 3);
    fillBitList(ui->LptBit);
    bindControls();
    connectActions();
}

StartupPage::~StartupPage() = default;

void StartupPage::bindControls() {
    TSettings& s = settings();
    bindMask(ui->LptBit, s.PoSpusteni.Base);
    bindEdit(ui->LPTxx_BASE, s.PoSpusteni.Base1);
    addLoader([this] {
        const int port = settings().PoSpusteni.Port;
        (port == 2 ? ui->LPT2_Start : port == 3 ? ui->LPTxx_Start : ui->LPT1_Start)->setChecked(true);
    });
    bindSpin(ui->DelkaTrate, s.Trat.delka);
    bindCheck(ui->OnTopBox, s.Ostatni.OnTop);
    bindCheck(ui->po_spusteni, s.PoSpusteni.START);
    bindCheck(ui->ExtStartBox, s.Ostatni.ExtStart);
    bindCheck(ui->PrvniKoloBox, s.Ostatni.PrvniKolo);
    bindCheck(ui->UlozitZavodyBox, s.Ostatni.UlozitZavody);
    addLoader([this] {
        ui->cbLPT->setChecked(settings().PoSpusteni.LPT);
        ui->cbCOM->setChecked(settings().PoSpusteni.COM);
    });
    bindChoice(m_priorityGroup, s.Ostatni.Priorita);
}

void StartupPage::connectActions() {
    // Every action is the boundary of what it starts: an error is reported there and the window
    // stays usable.
    using ErrorBoundary::guardedSlot;
    for (QRadioButton* radio : {ui->LPT1_Start, ui->LPT2_Start, ui->LPTxx_Start})
        connect(radio, &QRadioButton::clicked, this, guardedSlot(this, &StartupPage::StartPortClick));
    connect(ui->LPTxx_BASE, &QLineEdit::textChanged, this, &StartupPage::thirdBaseChanged);
    connect(ui->OpravLPT, &QPushButton::clicked, this, guardedSlot(this, &StartupPage::OpravLPTClick));
    connect(ui->BitBtn1, &QPushButton::clicked, this, guardedSlot(this, &StartupPage::BitBtn1Click));
    connect(ui->VynulujTab, &QPushButton::clicked, this,
            guardedSlot([this] { callHook(m_hooks.resetBestTwenty); }));
    connect(ui->po_spusteni, &QCheckBox::toggled, this, guardedSlot(this, &StartupPage::po_spusteniClick));
    connect(ui->cbLPT, &QCheckBox::clicked, this, guardedSlot(this, &StartupPage::cbLPTClick));
    connect(ui->cbCOM, &QCheckBox::clicked, this, guardedSlot(this, &StartupPage::cbCOMClick));
    connect(ui->Zalohuj_data, &QPushButton::clicked, this,
            guardedSlot([this] { callHook(m_hooks.showBackup); }));
    connect(ui->BitBtn2, &QPushButton::clicked, this, guardedSlot(this, &StartupPage::BitBtn2Click));
}

void StartupPage::fillSettingsHooks(SettingsHooks& hooks) {
    hooks.writeRestingValue = [this](quint8 value) {
        TSmallPort* port = m_services.parallelPort;
        if (!port || !port->Opened())
            return;
        port->setPortBase(PortBase::fromChoice(settings().PoSpusteni.Port, settings().PoSpusteni.Base1));
        port->WritePort(port->portBase(), value);
    };
}

int StartupPage::portChoice() const {
    if (ui->LPT2_Start->isChecked())
        return 2;
    if (ui->LPTxx_Start->isChecked())
        return 3;
    return 1;
}

QString StartupPage::thirdBase() const {
    return ui->LPTxx_BASE->text();
}

void StartupPage::StartPortClick() {
    // The lights always use the start port, so the lights page follows this one.
    const int choice = portChoice();
    emit portChoiceChanged(choice);
    settings().PoSpusteni.Port = choice;
    settings().Semafor.Port = choice;
    const quint16 base = PortBase::fromChoice(choice, thirdBase());
    if (m_services.parallelPort)
        m_services.parallelPort->setPortBase(base);
}

QString StartupPage::programPath() const {
    return m_services.programPath.isEmpty() ? QCoreApplication::applicationFilePath()
                                            : m_services.programPath;
}

void StartupPage::BitBtn1Click() {
    if (m_services.desktopShortcut)
        m_services.desktopShortcut->create(programPath());
}

void StartupPage::po_spusteniClick() {
    if (m_services.startEntry)
        m_services.startEntry->setEnabled(ui->po_spusteni->isChecked(), programPath());
}

void StartupPage::BitBtn2Click() {
    // A missing updater is not reported.
    if (!m_services.shell)
        return;
    const QString folder = QFileInfo(programPath()).absolutePath();
    m_services.shell->startDetached(folder + QStringLiteral("/tarvolin_update"), folder);
}

void StartupPage::cbLPTClick() {
    chooseSensorSource(true, ui->cbLPT->isChecked());
}

void StartupPage::cbCOMClick() {
    chooseSensorSource(false, ui->cbCOM->isChecked());
}

void StartupPage::chooseSensorSource(bool lptBox, bool checked) {
    TSettings& s = settings();
    if (SensorSourceChoice* choice = m_services.sensorSource) {
        lptBox ? choice->cbLPTClick(checked) : choice->cbCOMClick(checked);
    } else {
        s.PoSpusteni.LPT = lptBox == checked;
        s.PoSpusteni.COM = !s.PoSpusteni.LPT;
    }
    ui->cbLPT->setChecked(s.PoSpusteni.LPT);
    ui->cbCOM->setChecked(s.PoSpusteni.COM);
}

void StartupPage::OpravLPTClick() {
    if (m_services.portRepair && m_services.systemRestart)
        runAutomaticPortRepair(*m_services.portRepair, *m_services.systemRestart, this);
}
