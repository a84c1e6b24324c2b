#include "hardware/ui/LightsPage.h"

#include "base/ErrorBoundary.h"
#include "config/TSettings.h"
#include "hardware/ui/StartupPage.h"

#include "ui_LightsPage.h"

LightsPage::LightsPage(TSettings& settings, StartupPage& startup, QWidget* parent)
    : SettingsPage(settings, parent), ui(std::make_unique<Ui::LightsPage>()) {
    ui->setupUi(this);
    for (QListWidget* list : {ui->ZelenaBit, ui->OranzovaBit, ui->CervenaBit})
        fillBitList(list);
    TSettings& s = settings;
    bindCheck(ui->Semafor, s.Semafor.Pouzij);
    // The lights use the port the start page chooses, whatever the file says for them, so this page
    // shows that port. Semafor/Port keeps its stored value until the operator picks a port.
    addLoader([this] { setChoice(this->settings().PoSpusteni.Port); });
    bindSpin(ui->Prodleva, s.Semafor.Prodleva);
    bindMask(ui->ZelenaBit, s.Semafor.Zelena);
    bindMask(ui->OranzovaBit, s.Semafor.Oranzova);
    bindMask(ui->CervenaBit, s.Semafor.Cervena);

    // A choice here is taken back to the start page's: the start page decides.
    for (QRadioButton* radio : {ui->Semafor_LPT1, ui->Semafor_LPT2, ui->Semafor_LPT3})
        connect(radio, &QRadioButton::clicked, this,
                ErrorBoundary::guardedSlot(&startup, &StartupPage::StartPortClick));
    connect(&startup, &StartupPage::portChoiceChanged, this, &LightsPage::setChoice);
    ui->Semafor_Base->setText(startup.thirdBase());
    connect(&startup, &StartupPage::thirdBaseChanged, ui->Semafor_Base, &QLineEdit::setText);
}

LightsPage::~LightsPage() = default;

void LightsPage::setChoice(int choice) {
    (choice == 2 ? ui->Semafor_LPT2 : choice == 3 ? ui->Semafor_LPT3 : ui->Semafor_LPT1)->setChecked(true);
}
