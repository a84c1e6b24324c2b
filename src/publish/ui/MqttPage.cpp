#include "publish/ui/MqttPage.h"

#include "config/TSettings.h"
#include "publish/MqttConnectionCheck.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QSysInfo>
#include <QThread>
#include <QVBoxLayout>

#include <memory>

MqttPage::MqttPage(TSettings& settings, QWidget* parent) : SettingsPage(settings, parent) {
    setWindowTitle(QStringLiteral("MQTT"));
    auto* page = new QVBoxLayout(this);
    auto* group = new QGroupBox(QStringLiteral(" Výsledky na server MQTT "), this);
    auto* form = new QFormLayout(group);
    const auto named = [](auto* control, const char* name) {
        control->setObjectName(QLatin1String(name));
        return control;
    };
    auto* use = named(new QCheckBox(QStringLiteral("Posílat průjezdy a výsledky")), "MqttPouzitBox");
    form->addRow(use);
    auto* server = named(new QLineEdit, "MqttServerEdit");
    form->addRow(QStringLiteral("Server:"), server);
    auto* port = named(new QSpinBox, "MqttPortSpin");
    form->addRow(QStringLiteral("Port:"), port);
    auto* track = named(new QLineEdit, "MqttTratEdit");
    track->setPlaceholderText(QSysInfo::machineHostName());
    track->setToolTip(QStringLiteral("Krátké označení trati v názvech témat; prázdné: název počítače."));
    form->addRow(QStringLiteral("Trať:"), track);
    auto* prefix = named(new QLineEdit, "MqttPredponaEdit");
    form->addRow(QStringLiteral("Předpona témat:"), prefix);
    auto* user = named(new QLineEdit, "MqttUzivatelEdit");
    form->addRow(QStringLiteral("Uživatel:"), user);
    auto* password = named(new QLineEdit, "MqttHesloEdit");
    password->setEchoMode(QLineEdit::Password);
    form->addRow(QStringLiteral("Heslo:"), password);
    auto* tls = named(new QCheckBox(QStringLiteral("Šifrované spojení (TLS)")), "MqttTlsBox");
    form->addRow(tls);
    auto* tryRow = new QHBoxLayout;
    m_tryButton = named(new QPushButton(QStringLiteral("Vyzkoušet spojení")), "MqttZkouskaButton");
    tryRow->addWidget(m_tryButton);
    m_answer = named(new QLabel, "MqttOdpovedLabel");
    m_answer->setWordWrap(true);
    tryRow->addWidget(m_answer, 1);
    form->addRow(tryRow);
    page->addWidget(group);
    page->addStretch();

    bindCheck(use, settings.MQTT.Pouzit);
    bindEdit(server, settings.MQTT.Server);
    bindSpin(port, settings.MQTT.Port);
    bindEdit(track, settings.MQTT.Trat);
    bindEdit(prefix, settings.MQTT.Predpona);
    bindEdit(user, settings.MQTT.Uzivatel);
    bindEdit(password, settings.MQTT.Heslo);
    bindCheck(tls, settings.MQTT.TLS);
    connect(m_tryButton, &QPushButton::clicked, this, &MqttPage::tryConnection);
}

void MqttPage::tryConnection() {
    const TSettings& s = settings();
    MqttConnection connection;
    connection.host = s.MQTT.Server;
    connection.port = s.MQTT.Port;
    connection.user = s.MQTT.Uzivatel;
    connection.password = s.MQTT.Heslo;
    connection.tls = s.MQTT.TLS;
    m_tryButton->setEnabled(false);
    m_answer->setText(QStringLiteral("Zkouším spojení…"));
    // The check waits for the network; the window stays responsive meanwhile.
    auto answer = std::make_shared<QString>();
    QThread* thread =
        QThread::create([connection, answer] { *answer = MqttConnectionCheck::run(connection); });
    connect(thread, &QThread::finished, thread, &QObject::deleteLater);
    connect(thread, &QThread::finished, this, [this, answer] {
        m_answer->setText(*answer);
        m_tryButton->setEnabled(true);
    });
    thread->start();
}
