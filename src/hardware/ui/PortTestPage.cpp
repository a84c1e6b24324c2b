#include "hardware/ui/PortTestPage.h"

#include "base/ErrorBoundary.h"
#include "config/TextCodec.h"
#include "hardware/PortBase.h"
#include "hardware/PortTester.h"
#include "hardware/SerialLearnPanel.h"
#include "hardware/TSmallPort.h"
#include "hardware/ui/StartupPage.h"

#include "ui_PortTestPage.h"

#include <QRegularExpression>
#include <QRegularExpressionValidator>

#include <utility>

PortTestPage::PortTestPage(TSettings& settings, StartupPage& startup, TSmallPort* parallelPort,
                           TimerFactory* timers, SerialLearnPanel* learnPanel, QWidget* parent)
    : SettingsPage(settings, parent), ui(std::make_unique<Ui::PortTestPage>()), m_parallelPort(parallelPort),
      m_learnPanel(learnPanel) {
    ui->setupUi(this);
    // A port base is at most four hexadecimal digits, as on the start page.
    ui->LPTxx_Base1->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9A-Fa-f]{1,4}")), this));
    ui->LPTxx_Base1->setText(startup.thirdBase());
    connect(&startup, &StartupPage::thirdBaseChanged, ui->LPTxx_Base1, &QLineEdit::setText);
    if (parallelPort && timers)
        m_portTester = new PortTester(*parallelPort, *timers, this);
    connectPortTester(startup);
    connectSerialTest();
}

PortTestPage::~PortTestPage() = default;

void PortTestPage::connectPortTester(StartupPage& startup) {
    // The port base comes from a typed text, which may not be hexadecimal. The repeat timer's tick
    // reports its own failure (PortTester::OpakujCteniTimerTimer).
    using ErrorBoundary::guardedSlot;
    connect(ui->btn_Port, &QPushButton::clicked, this, guardedSlot(this, &PortTestPage::btn_PortClick));
    connect(ui->CtiPort, &QPushButton::clicked, this, guardedSlot(this, &PortTestPage::CtiPortClick));
    connect(ui->UlozPort, &QPushButton::clicked, this, guardedSlot(this, &PortTestPage::UlozPortClick));
    const std::pair<QRadioButton*, int> choices[] = {{ui->LPT1, 1}, {ui->LPT2, 2}, {ui->LPTxx, 3}};
    for (const auto& [radio, choice] : choices)
        connect(radio, &QRadioButton::clicked, this,
                guardedSlot([this, choice = choice] { TestPortClick(choice); }));
    if (!m_portTester)
        return;
    // Reading, writing and opening use this page's choice; its third takes the start page's base.
    m_portTester->setBaseSource(
        [this, &startup] { return PortBase::fromChoice(testPortChoice(), startup.thirdBase()); });
    connect(ui->OpakujBox, &QCheckBox::toggled, m_portTester, &PortTester::setRepeat);
    // Any edit of the field counts as a change, also typing the 50 that is shown already, which the
    // spin box itself does not report.
    auto applyInterval = [this] { m_portTester->setRepeatInterval(ui->SpinEdit1->value()); };
    connect(ui->SpinEdit1, &QSpinBox::valueChanged, m_portTester, applyInterval);
    connect(ui->SpinEdit1->findChild<QLineEdit*>(), &QLineEdit::textEdited, m_portTester, applyInterval);
    connect(m_portTester, &PortTester::repeatStopped, this, [this] { ui->OpakujBox->setChecked(false); });
    connect(m_portTester, &PortTester::stateRead, this,
            [this](const PortTester::Reading& reading) { showPortState(reading.data, reading.status); });
}

void PortTestPage::connectSerialTest() {
    SerialLearnPanel* panel = m_learnPanel;
    connect(ui->btnCtiData, &QPushButton::clicked, this, ErrorBoundary::guardedSlot([panel] {
                if (panel)
                    panel->btnCtiDataClick();
            }));
    if (!panel)
        return;
    connect(panel, &SerialLearnPanel::testButtonChanged, this,
            [this, panel] { ui->btnCtiData->setText(panel->testCaption()); });
    connect(panel, &SerialLearnPanel::testSekvenceChanged, this,
            [this](const QByteArray& text) { ui->TestSekvence->setText(TextCodec::decode(text)); });
}

void PortTestPage::windowShown() {
    ui->btn_Port->setText(PortTester::portButtonCaption(m_parallelPort && m_parallelPort->Opened()));
}

void PortTestPage::windowActivated() {
    ui->OpakujBox->setChecked(false);
}

void PortTestPage::windowClosed() {
    if (m_portTester)
        m_portTester->setRepeat(false);
}

int PortTestPage::testPortChoice() const {
    if (ui->LPT2->isChecked())
        return 2;
    if (ui->LPTxx->isChecked())
        return 3;
    return 1;
}

void PortTestPage::btn_PortClick() {
    if (m_portTester)
        ui->btn_Port->setText(m_portTester->togglePort());
}

void PortTestPage::CtiPortClick() {
    if (m_portTester)
        m_portTester->readState();
}

void PortTestPage::UlozPortClick() {
    if (m_portTester)
        m_portTester->writeValue(ui->LPTValue->value());
}

void PortTestPage::TestPortClick(int choice) {
    if (m_parallelPort)
        m_parallelPort->setPortBase(PortBase::fromChoice(choice, ui->LPTxx_Base1->text()));
}

void PortTestPage::showPortState(quint8 data, quint8 status) {
    QCheckBox* dataBits[] = {ui->Bit0, ui->Bit1, ui->Bit2, ui->Bit3, ui->Bit4, ui->Bit5, ui->Bit6, ui->Bit7};
    for (int bit = 0; bit < 8; ++bit)
        dataBits[bit]->setChecked((data >> bit) & 1);
    QCheckBox* statusBits[] = {ui->Error, ui->Select, ui->PE, ui->Ask, ui->Busy};
    for (int bit = 3; bit <= 7; ++bit)
        statusBits[bit - 3]->setChecked((status >> bit) & 1);
}
