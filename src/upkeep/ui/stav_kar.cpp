#include "upkeep/ui/stav_kar.h"

#include "base/ErrorBoundary.h"
#include "base/UserError.h"
#include "timing/LapTime.h"
#include "upkeep/ui/Potvrd.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QVBoxLayout>

namespace {

QSpinBox* spin(QWidget* parent, const QString& name, int low, int high) {
    auto* box = new QSpinBox(parent);
    box->setObjectName(name);
    box->setRange(low, high);
    return box;
}

QLineEdit* shown(QWidget* parent, const QString& name) {
    auto* field = new QLineEdit(parent);
    field->setObjectName(name);
    field->setReadOnly(true);
    field->setMaximumWidth(110);
    return field;
}

} // namespace

TStav_KarFrm::TStav_KarFrm(KartUpkeep& upkeep, TPotvrdDlg& confirmation, QWidget* parent)
    : QDialog(parent), m_upkeep(upkeep), m_confirmation(confirmation), m_pages(new QTabWidget(this)) {
    setObjectName(QStringLiteral("Stav_KarFrm"));
    setWindowTitle(QStringLiteral("Technický stav motokár"));
    setModal(true);
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    m_pages->setObjectName(QStringLiteral("PageControl1"));
    for (int kart = 1; kart <= 4; ++kart)
        m_pages->addTab(makePage(kart), QStringLiteral("Motokára %1").arg(kart));
    connect(m_pages, &QTabWidget::currentChanged, this,
            ErrorBoundary::guardedSlot([this](int) { UpdateFuelFigures(); }));

    auto* note = new QLabel(
        QStringLiteral(
            "Úkoly jsou zobrazeny po každém spuštění programu až do vynulování stavu najetých motohodin."),
        this);
    note->setWordWrap(true);
    auto* ok = new QPushButton(QStringLiteral("Potvrdit"), this);
    ok->setObjectName(QStringLiteral("OKBtn"));
    ok->setDefault(true);
    auto* cancel = new QPushButton(QStringLiteral("Zrušit"), this);
    cancel->setObjectName(QStringLiteral("CancelBtn"));
    connect(ok, &QPushButton::clicked, this, ErrorBoundary::guardedSlot([this] {
                takeControls();
                OKClick();
                accept();
            }));
    connect(cancel, &QPushButton::clicked, this, ErrorBoundary::guardedSlot([this] {
                reject();
                LoadKartStates();
            }));
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_pages);
    layout->addWidget(note);
    layout->addLayout(buttons);
}

QWidget* TStav_KarFrm::makePage(int kart) {
    auto* page = new QWidget(m_pages);
    page->setObjectName(QStringLiteral("TabSheet%1").arg(kart));
    KartControls& c = m_karts[size_t(kart - 1)];
    const auto name = [kart](const char* base) { return QString::fromLatin1(base).arg(kart); };

    auto* hours = new QGroupBox(QStringLiteral(" Motohodiny "), page);
    auto* h = new QGridLayout(hours);
    c.initialHours = spin(hours, name("PocStav%1_Hod"), 0, TKartState::MaxHours);
    c.initialMinutes = spin(hours, name("PocStav%1_Min"), 0, 60);
    c.driven = shown(hours, name("Najeto%1"));
    c.total = shown(hours, name("Celkem%1"));
    auto* zero = new QPushButton(QStringLiteral("Vynuluj"), hours);
    zero->setObjectName(name("Vynuluj%1"));
    h->addWidget(new QLabel(QStringLiteral("Počáteční stav:"), hours), 0, 0);
    h->addWidget(c.initialHours, 0, 1);
    h->addWidget(new QLabel(QStringLiteral("hod"), hours), 0, 2);
    h->addWidget(c.initialMinutes, 0, 3);
    h->addWidget(new QLabel(QStringLiteral("min"), hours), 0, 4);
    h->addWidget(new QLabel(QStringLiteral("Najeto:"), hours), 1, 0);
    h->addWidget(c.driven, 1, 1);
    h->addWidget(new QLabel(QStringLiteral("hodin"), hours), 1, 2);
    h->addWidget(zero, 1, 3, 1, 2);
    h->addWidget(new QLabel(QStringLiteral("Celkem:"), hours), 2, 0);
    h->addWidget(c.total, 2, 1);
    h->addWidget(new QLabel(QStringLiteral("hodin"), hours), 2, 2);

    auto* fuel = new QGroupBox(QStringLiteral("Spotřeba paliva"), page);
    auto* f = new QGridLayout(fuel);
    c.fuel = shown(fuel, name("Spotreba%1"));
    c.fuelTotal = shown(fuel, name("SpotrebaCelkem%1"));
    c.consumption = spin(fuel, name("Pr_spotreba%1"), 1, 100);
    c.tank = spin(fuel, name("ObsahNadrze%1"), 1, 999);
    c.refuel = new QCheckBox(QStringLiteral("Tankuj nádrž každých"), fuel);
    c.refuel->setObjectName(name("Doplneni%1"));
    c.margin = spin(fuel, name("DoplneniPredem%1"), 1, 999);
    f->addWidget(new QLabel(QStringLiteral("decilitrů:"), fuel), 0, 0);
    f->addWidget(c.fuel, 0, 1);
    f->addWidget(new QLabel(QStringLiteral("celkem dcl:"), fuel), 0, 2);
    f->addWidget(c.fuelTotal, 0, 3);
    f->addWidget(new QLabel(QStringLiteral("Průměrná spotřeba:"), fuel), 1, 0);
    f->addWidget(c.consumption, 1, 1);
    f->addWidget(new QLabel(QStringLiteral("decilitrů/hodinu"), fuel), 1, 2, 1, 2);
    f->addWidget(new QLabel(QStringLiteral("Obsah nádrže:"), fuel), 2, 0);
    f->addWidget(c.tank, 2, 1);
    f->addWidget(new QLabel(QStringLiteral("litrů"), fuel), 2, 2, 1, 2);
    f->addWidget(c.refuel, 3, 0);
    f->addWidget(c.margin, 3, 1);
    f->addWidget(new QLabel(QStringLiteral("decilitrů předem"), fuel), 3, 2, 1, 2);

    auto* tasks = new QGroupBox(
        QStringLiteral(" Úkoly po kazdých nastavených hodinách (najeté hodiny + 30 minut)"), page);
    auto* t = new QGridLayout(tasks);
    for (int k = 0; k < 4; ++k) {
        const QString suffix = QStringLiteral("%1_%2").arg(kart).arg(k + 1);
        c.taskOn[size_t(k)] = new QCheckBox(tasks);
        c.taskOn[size_t(k)]->setObjectName(QStringLiteral("Ukol") + suffix);
        c.taskHours[size_t(k)] = spin(tasks, QStringLiteral("UkolHodin") + suffix, 0, TKartState::MaxHours);
        c.taskText[size_t(k)] = new QLineEdit(tasks);
        c.taskText[size_t(k)]->setObjectName(QStringLiteral("Text") + suffix);
        c.taskText[size_t(k)]->setMaxLength(TKartState::MaxTaskText);
        t->addWidget(c.taskOn[size_t(k)], k, 0);
        t->addWidget(c.taskHours[size_t(k)], k, 1);
        t->addWidget(c.taskText[size_t(k)], k, 2);
    }
    t->setColumnStretch(2, 1);

    for (QSpinBox* initial : {c.initialHours, c.initialMinutes})
        connect(initial, &QSpinBox::valueChanged, this,
                ErrorBoundary::guardedSlot([this, kart](int) { PocStavChange(kart); }));
    connect(c.consumption, &QSpinBox::valueChanged, this,
            ErrorBoundary::guardedSlot([this](int) { UpdateFuelFigures(); }));
    connect(zero, &QPushButton::clicked, this,
            ErrorBoundary::guardedSlot([this, kart] { VynulujClick(kart); }));

    auto* layout = new QVBoxLayout(page);
    layout->addWidget(hours);
    layout->addWidget(fuel);
    layout->addWidget(tasks);
    return page;
}

void TStav_KarFrm::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    ErrorBoundary::guarded([this] { FormActivate(); });
}

void TStav_KarFrm::LoadKartStates() {
    const QStringList problems = m_upkeep.load();
    showStates();
    if (!problems.isEmpty())
        throw UserError(problems.join(QLatin1Char('\n')));
}

void TStav_KarFrm::showStates() {
    for (size_t k = 0; k < m_karts.size(); ++k) {
        const TKartState& s = m_upkeep.states()[k];
        KartControls& c = m_karts[k];
        // Set without their change handlers: the stored values are shown as they are.
        const QSignalBlocker hours(c.initialHours);
        const QSignalBlocker minutes(c.initialMinutes);
        const QSignalBlocker consumption(c.consumption);
        c.initialHours->setValue(s.initialHours);
        c.initialMinutes->setValue(s.initialMinutes);
        c.driven->setText(s.driven);
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
}

void TStav_KarFrm::takeControls() {
    for (size_t k = 0; k < m_karts.size(); ++k) {
        TKartState& s = m_upkeep.states()[k];
        const KartControls& c = m_karts[k];
        s.initialHours = c.initialHours->value();
        s.initialMinutes = c.initialMinutes->value();
        s.driven = c.driven->text();
        s.consumption = c.consumption->value();
        s.tank = c.tank->value();
        s.refuelWarning = c.refuel->isChecked();
        s.margin = c.margin->value();
        for (size_t t = 0; t < 4; ++t)
            s.tasks[t] = {c.taskOn[t]->isChecked(), c.taskHours[t]->value(), c.taskText[t]->text()};
    }
}

void TStav_KarFrm::FormActivate() {
    m_pages->setCurrentIndex(0);
    takeControls();
    for (int kart = 1; kart <= 4; ++kart)
        showTotal(kart);
    UpdateFuelFigures();
}

void TStav_KarFrm::OKClick() {
    takeControls();
    m_upkeep.store();
    // A file that could be read again has given its own records back.
    showStates();
}

void TStav_KarFrm::writeDrivenTimes() {
    takeControls();
    m_upkeep.storeDriven();
}

void TStav_KarFrm::UpdateFuelFigures() {
    takeControls();
    for (size_t k = 0; k < m_karts.size(); ++k) {
        const TKartState& s = m_upkeep.states()[k];
        m_karts[k].fuel->setText(TKartState::fuelText(s.fuelSinceZeroingTenths()));
        m_karts[k].fuelTotal->setText(TKartState::fuelText(s.fuelTotalTenths()));
    }
}

void TStav_KarFrm::showTotal(int kart) {
    m_karts[size_t(kart - 1)].total->setText(m_upkeep.states()[size_t(kart - 1)].totalText());
}

void TStav_KarFrm::PocStavChange(int kart) {
    takeControls();
    TKartState& s = m_upkeep.states()[size_t(kart - 1)];
    s.carryInitialMinutes();
    showStates();
    showTotal(kart);
    UpdateFuelFigures();
}

void TStav_KarFrm::VynulujClick(int kart) {
    if (!m_confirmation.confirm())
        return;
    takeControls();
    // Zeroed in the window; "Potvrdit" or the next STOP stores it and enters it in the service book.
    m_upkeep.zero(kart, QDateTime::currentDateTime());
    showStates();
    showTotal(kart);
    UpdateFuelFigures();
}

QString TStav_KarFrm::drivenText(int kart) const {
    return m_karts[size_t(kart - 1)].driven->text();
}

void TStav_KarFrm::setDrivenText(int kart, const QString& text) {
    m_karts[size_t(kart - 1)].driven->setText(text);
}
