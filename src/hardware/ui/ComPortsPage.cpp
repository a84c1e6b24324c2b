#include "hardware/ui/ComPortsPage.h"

#include "base/ErrorBoundary.h"
#include "config/SerialValueLists.h"
#include "config/SettingsHooks.h"
#include "config/TSettings.h"
#include "config/TextCodec.h"
#include "hardware/SerialLearnPanel.h"
#include "hardware/TComPort.h"

#include "ui_ComPortsPage.h"

ComPortsPage::ComPortsPage(TSettings& settings, TComPort* comPort, SerialLearnPanel* learnPanel,
                           QWidget* parent)
    : SettingsPage(settings, parent), ui(std::make_unique<Ui::ComPortsPage>()), m_comPort(comPort),
      m_learnPanel(learnPanel) {
    ui->setupUi(this);
    bindCheck(ui->cbRTS, settings.Com.RTS);
    bindCheck(ui->cbDTR, settings.Com.DTR);
    for (int slot = 0; slot < SerialLearnPanel::SlotCount; ++slot)
        addLoader([this, slot] { showSequence(slot); });

    ui->ComComboBox2->addItems(SerialValueLists::baudRates());
    ui->ComComboBox3->addItems(SerialValueLists::dataBits());
    ui->ComComboBox5->addItems(SerialValueLists::parities());
    ui->ComComboBox4->addItems(SerialValueLists::stopBits());
    ui->ComComboBox6->addItems(SerialValueLists::flowControls());
    showSerialParameters();

    // A new line setting and the learning open or re-open the port, which may fail.
    using ErrorBoundary::guardedSlot;
    QComboBox* lists[] = {ui->ComComboBox1, ui->ComComboBox2, ui->ComComboBox3,
                          ui->ComComboBox5, ui->ComComboBox4, ui->ComComboBox6};
    for (int i = 0; i < 6; ++i) {
        connect(lists[i], &QComboBox::textActivated, this,
                guardedSlot([this, i](const QString& value) { applySerialList(i, value); }));
    }
    for (int slot = 0; slot < SerialLearnPanel::SlotCount; ++slot) {
        auto* button = findChild<QPushButton*>(SerialLearnPanel::learnButtonName(slot));
        connect(button, &QPushButton::clicked, this, guardedSlot([learnPanel, slot] {
                    if (learnPanel)
                        learnPanel->learnClick(slot);
                }));
    }
    if (!learnPanel)
        return;
    connect(learnPanel, &SerialLearnPanel::learnButtonChanged, this, &ComPortsPage::showLearnButton);
    connect(learnPanel, &SerialLearnPanel::sequenceChanged, this, [this](int slot) { showSequence(slot); });
    connect(learnPanel, &SerialLearnPanel::okCancelEnabledChanged, this,
            &ComPortsPage::confirmEnabledChanged);
}

ComPortsPage::~ComPortsPage() = default;

void ComPortsPage::fillSettingsHooks(SettingsHooks& hooks) {
    if (!m_comPort)
        return;
    TComPort* port = m_comPort;
    hooks.serialParameters = [port] { return port->parameters(); };
    hooks.applySerialParameters = [port](const SerialParameters& parameters) {
        port->setParameters(parameters);
    };
    hooks.closeSerialPort = [port] {
        if (port->isOpen())
            port->close();
    };
}

void ComPortsPage::windowActivated() {
    showSerialParameters();
}

void ComPortsPage::showSerialParameters() {
    const SerialParameters parameters = m_comPort ? m_comPort->parameters() : SerialParameters();
    const QSignalBlocker blocker(ui->ComComboBox1);
    ui->ComComboBox1->clear();
    QStringList names = TComPort::availablePortNames();
    if (!names.contains(parameters.Port))
        names.prepend(parameters.Port);
    ui->ComComboBox1->addItems(names);
    ui->ComComboBox1->setCurrentText(parameters.Port);
    ui->ComComboBox2->setCurrentText(parameters.BaudRate);
    ui->ComComboBox3->setCurrentText(parameters.DataBits);
    ui->ComComboBox5->setCurrentText(parameters.Parity);
    ui->ComComboBox4->setCurrentText(parameters.StopBits);
    ui->ComComboBox6->setCurrentText(parameters.FlowControl);
}

void ComPortsPage::applySerialList(int which, const QString& value) {
    if (!m_comPort)
        return;
    SerialParameters parameters = m_comPort->parameters();
    QString* fields[] = {&parameters.Port,   &parameters.BaudRate, &parameters.DataBits,
                         &parameters.Parity, &parameters.StopBits, &parameters.FlowControl};
    *fields[which] = value;
    m_comPort->setParameters(parameters);
}

void ComPortsPage::showLearnButton(int slot) {
    auto* button = findChild<QPushButton*>(SerialLearnPanel::learnButtonName(slot));
    button->setText(m_learnPanel->learnCaption(slot));
    button->setEnabled(m_learnPanel->learnEnabled(slot));
}

void ComPortsPage::showSequence(int slot) {
    auto* edit = findChild<QLineEdit*>(SerialLearnPanel::sequenceFieldName(slot));
    edit->setText(TextCodec::decode(settings().Com.Sekvence.at(slot)));
}
