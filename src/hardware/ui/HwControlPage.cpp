#include "hardware/ui/HwControlPage.h"

#include "base/ErrorBoundary.h"
#include "config/TSettings.h"
#include "hardware/ControlPulse.h"

#include "ui_HwControlPage.h"

HwControlPage::HwControlPage(TSettings& settings, ControlPulse* controlPulse, QWidget* parent)
    : SettingsPage(settings, parent), ui(std::make_unique<Ui::HwControlPage>()),
      m_controlPulse(controlPulse) {
    ui->setupUi(this);
    TSettings& s = settings;
    bindCheck(ui->Hw_rizeniBox, s.HW.Rizeni);
    bindSpin(ui->SpinLOG0, s.HW.LOG0);
    bindSpin(ui->SpinLOG1, s.HW.LOG1);
    bindCheck(ui->Vsupy_negace_Check, s.HW.Negace);
    bindCheck(ui->Mazat, s.HW.Mazat);
    bindSpin(ui->Spin_Mazat_Cas, s.HW.MazatCas);
    bindSpin(ui->SpinProdleva, s.HW.Prodleva);
    QSpinBox* errors[] = {ui->SpinChybaMereni1, ui->SpinChybaMereni2, ui->SpinChybaMereni3,
                          ui->SpinChybaMereni4};
    for (int i = 0; i < 4; ++i)
        bindSpin(errors[i], s.HW.Chyba[i]);

    using ErrorBoundary::guardedSlot;
    connect(ui->SpinLOG0, &QSpinBox::valueChanged, this, guardedSlot(this, &HwControlPage::SpinLOG0Change));
    connect(ui->SpinLOG1, &QSpinBox::valueChanged, this, guardedSlot(this, &HwControlPage::SpinLOG1Change));
}

HwControlPage::~HwControlPage() = default;

void HwControlPage::SpinLOG0Change(int value) {
    if (m_controlPulse)
        m_controlPulse->SpinLOG0Change(value);
}

void HwControlPage::SpinLOG1Change(int value) {
    if (m_controlPulse)
        m_controlPulse->SpinLOG1Change(value);
}
