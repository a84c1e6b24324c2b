#pragma once

#include "upkeep/KartUpkeep.h"

#include <QDialog>

#include <array>
#include <memory>

class QCheckBox;
class QLineEdit;
class QSpinBox;
class TPotvrdDlg;

namespace Ui {
class TStav_KarFrm;
}

// "Technický stav motokár": a page per kart with its engine hours, fuel figures and service tasks.
// It edits a copy of the upkeep's records, taken each time it opens: "Potvrdit" commits and stores
// the copy; "Zrušit", Esc or any other close drops it, so nothing of it is stored.
class TStav_KarFrm : public QDialog {
    Q_OBJECT

public:
    TStav_KarFrm(KartUpkeep& upkeep, TPotvrdDlg& confirmation, QWidget* parent = nullptr);
    ~TStav_KarFrm() override;

    // A fresh copy of the records: shows the first page, the totals and the fuel figures.
    void FormActivate();
    // "Potvrdit": the copy becomes the records and is stored, and the window closes.
    void OKClick();
    // Recomputes the fuel figures; the copy first takes what the race drove since it was taken.
    void UpdateFuelFigures();
    void PocStavChange(int kart); // PocStav1_HodChange .. PocStav4_HodChange
    void VynulujClick(int kart);  // Vynuluj1Click .. Vynuluj4Click

protected:
    void showEvent(QShowEvent* event) override;

private:
    struct KartControls {
        QSpinBox* initialHours;
        QSpinBox* initialMinutes;
        QLineEdit* driven;
        QLineEdit* total;
        QLineEdit* fuel;
        QLineEdit* fuelTotal;
        QSpinBox* consumption;
        QSpinBox* tank;
        QCheckBox* refuel;
        QSpinBox* margin;
        std::array<QCheckBox*, 4> taskOn;
        std::array<QSpinBox*, 4> taskHours;
        std::array<QLineEdit*, 4> taskText;
    };

    void findControls(int kart);
    // The operator's values into the copy, and the copy into the controls.
    void takeControls();
    void showStates();
    // The driven times, totals and fuel figures of the copy.
    void showFigures();

    std::unique_ptr<Ui::TStav_KarFrm> ui;
    KartUpkeep& m_upkeep;
    TPotvrdDlg& m_confirmation;
    KartStateEdit m_edit;
    std::array<KartControls, 4> m_karts{};
};
