#include "display/ui/AudiencePage.h"

#include "base/ErrorBoundary.h"
#include "base/Hooks.h"
#include "config/TSettings.h"

#include "ui_AudiencePage.h"

#include <QButtonGroup>

AudiencePage::AudiencePage(TSettings& settings, QWidget* parent)
    : SettingsPage(settings, parent), ui(std::make_unique<Ui::AudiencePage>()) {
    ui->setupUi(this);
    m_displayTypeGroup = new QButtonGroup(this);
    m_displayTypeGroup->addButton(ui->Typ_zobrazeni_Group0, 0);
    m_displayTypeGroup->addButton(ui->Typ_zobrazeni_Group1, 1);
    bindCheck(ui->TV_OUT_Box, settings.TVOUT.Pouzit);
    bindCheck(ui->PruhlednyForm_Box, settings.TVOUT.Form);
    bindChoice(m_displayTypeGroup, settings.TVOUT.TypZobrazeni);
    bindCheck(ui->Web_Box, settings.Web.Pouzit);
    bindSpin(ui->SpinWebPort, settings.Web.Port);
    addLoader([this] { showWebAddress(); });

    using ErrorBoundary::guardedSlot;
    connect(ui->TV_OUT_Box, &QCheckBox::clicked, this,
            guardedSlot([this] { callHook(m_hooks.tvOutClicked); }));
    connect(ui->PruhlednyForm_Box, &QCheckBox::clicked, this,
            guardedSlot([this] { callHook(m_hooks.transparentFormClicked); }));
    connect(m_displayTypeGroup, &QButtonGroup::idClicked, this,
            guardedSlot([this] { callHook(m_hooks.displayTypeClicked); }));
    connect(ui->Web_Box, &QCheckBox::clicked, this, guardedSlot([this] {
                showWebAddress();
                callHook(m_hooks.webBoxClicked);
            }));
    connect(ui->SpinWebPort, &QSpinBox::valueChanged, this, [this] { showWebAddress(); });
}

AudiencePage::~AudiencePage() = default;

void AudiencePage::showWebAddress() {
    const QString address = m_hooks.webAddress ? m_hooks.webAddress(settings().Web.Port) : QString();
    ui->WebAdresa->setText(settings().Web.Pouzit ? address : QString());
}
