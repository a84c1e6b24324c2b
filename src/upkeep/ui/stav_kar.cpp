#include "upkeep/ui/stav_kar.h"

#include "base/ErrorBoundary.h"
#include "config/ui/EncodableText.h"
#include "upkeep/ui/Potvrd.h"

#include "ui_stav_kar.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QScopeGuard>
#include <QSpinBox>

#include <type_traits>

TStav_KarFrm::TStav_KarFrm(KartUpkeep& upkeep, TPotvrdDlg& confirmation, QWidget* parent)
    : QDialog(parent), ui(std::make_unique<Ui::TStav_KarFrm>()), m_upkeep(upkeep),
      m_confirmation(confirmation), m_edit(upkeep.edit()) {
    ui->setupUi(this);
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    for (int kart = 1; kart <= 4; ++kart)
        findControls(kart);
    connect(ui->PageControl1, &QTabWidget::currentChanged, this,
            ErrorBoundary::guardedSlot([this](int) { UpdateFuelFigures(); }));
    connect(ui->OKBtn, &QPushButton::clicked, this, ErrorBoundary::guardedSlot([this] { OKClick(); }));
    connect(ui->CancelBtn, &QPushButton::clicked, this, &QDialog::reject);
}

TStav_KarFrm::~TStav_KarFrm() = default;

void TStav_KarFrm::findControls(int kart) {
    const auto child = [this, kart](auto*& control, const char* name) {
        using Control = std::remove_reference_t<decltype(*control)>;
        control = findChild<Control*>(QString::fromLatin1(name).arg(kart));
    };
    KartControls& c = m_karts[size_t(kart - 1)];
    child(c.initialHours, "PocStav%1_Hod");
    child(c.initialMinutes, "PocStav%1_Min");
    child(c.driven, "Najeto%1");
    child(c.total, "Celkem%1");
    child(c.fuel, "Spotreba%1");
    child(c.fuelTotal, "SpotrebaCelkem%1");
    child(c.consumption, "Pr_spotreba%1");
    child(c.tank, "ObsahNadrze%1");
    child(c.refuel, "Doplneni%1");
    child(c.margin, "DoplneniPredem%1");
    for (int k = 1; k <= 4; ++k) {
        const QString suffix = QStringLiteral("%1_%2").arg(kart).arg(k);
        c.taskOn[size_t(k - 1)] = findChild<QCheckBox*>(QStringLiteral("Ukol") + suffix);
        c.taskHours[size_t(k - 1)] = findChild<QSpinBox*>(QStringLiteral("UkolHodin") + suffix);
        c.taskText[size_t(k - 1)] = findChild<QLineEdit*>(QStringLiteral("Text") + suffix);
    }

    for (QSpinBox* initial : {c.initialHours, c.initialMinutes})
        connect(initial, &QSpinBox::valueChanged, this,
                ErrorBoundary::guardedSlot([this, kart](int) { PocStavChange(kart); }));
    connect(c.consumption, &QSpinBox::valueChanged, this,
            ErrorBoundary::guardedSlot([this](int) { UpdateFuelFigures(); }));
    connect(findChild<QPushButton*>(QStringLiteral("Vynuluj%1").arg(kart)), &QPushButton::clicked, this,
            ErrorBoundary::guardedSlot([this, kart] { VynulujClick(kart); }));
}

void TStav_KarFrm::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    ErrorBoundary::guarded([this] { FormActivate(); });
}

void TStav_KarFrm::showStates() {
    for (size_t k = 0; k < m_karts.size(); ++k) {
        const TKartState& s = m_edit.states()[k];
        KartControls& c = m_karts[k];
        // Set without their change handlers: the values are shown as they are.
        const QSignalBlocker hours(c.initialHours);
        const QSignalBlocker minutes(c.initialMinutes);
        const QSignalBlocker consumption(c.consumption);
        c.initialHours->setValue(s.initialHours);
        c.initialMinutes->setValue(s.initialMinutes);
        c.consumption->setValue(s.consumption);
        c.tank->setValue(s.tank);
        c.refuel->setChecked(s.refuelWarning);
        c.margin->setValue(s.margin);
        for (size_t t = 0; t < 4; ++t) {
            c.taskOn[t]->setChecked(s.tasks[t].enabled);
            c.taskHours[t]->setValue(s.tasks[t].intervalHours);
            c.taskText[t]->setText(s.tasks[t].text);
        }
    }
    showFigures();
}

void TStav_KarFrm::takeControls() {
    for (size_t k = 0; k < m_karts.size(); ++k) {
        TKartState& s = m_edit.states()[k];
        const KartControls& c = m_karts[k];
        s.initialHours = c.initialHours->value();
        s.initialMinutes = c.initialMinutes->value();
        s.consumption = c.consumption->value();
        s.tank = c.tank->value();
        s.refuelWarning = c.refuel->isChecked();
        s.margin = c.margin->value();
        for (size_t t = 0; t < 4; ++t)
            s.tasks[t] = {c.taskOn[t]->isChecked(), c.taskHours[t]->value(), c.taskText[t]->text()};
    }
}

void TStav_KarFrm::showFigures() {
    for (size_t k = 0; k < m_karts.size(); ++k) {
        const TKartState& s = m_edit.states()[k];
        KartControls& c = m_karts[k];
        c.driven->setText(s.driven);
        c.total->setText(s.totalText());
        c.fuel->setText(TKartState::fuelText(s.fuelSinceZeroingTenths()));
        c.fuelTotal->setText(TKartState::fuelText(s.fuelTotalTenths()));
    }
}

void TStav_KarFrm::FormActivate() {
    ui->PageControl1->setCurrentIndex(0);
    m_edit = m_upkeep.edit();
    showStates();
}

void TStav_KarFrm::OKClick() {
    // "stav.ini" is windows-1250: a task text it cannot hold is refused before anything is stored.
    QList<QLineEdit*> texts;
    for (const KartControls& c : m_karts)
        texts.append(QList<QLineEdit*>(c.taskText.begin(), c.taskText.end()));
    if (!EncodableText::check(this, texts))
        return;
    takeControls();
    // The records take what the operator confirmed even when the file cannot be written; the
    // message says so, and the next STOP or the program's close stores them again.
    const auto close = qScopeGuard([this] { accept(); });
    m_upkeep.commit(m_edit);
}

void TStav_KarFrm::UpdateFuelFigures() {
    takeControls();
    m_edit.follow(m_upkeep.states());
    showFigures();
}

void TStav_KarFrm::PocStavChange(int kart) {
    takeControls();
    m_edit.states()[size_t(kart - 1)].carryInitialMinutes();
    showStates();
}

void TStav_KarFrm::VynulujClick(int kart) {
    if (!m_confirmation.confirm())
        return;
    takeControls();
    // In the copy: "Potvrdit" stores it and enters it in the service book.
    m_edit.zero(kart, QDateTime::currentDateTime());
    showStates();
}
