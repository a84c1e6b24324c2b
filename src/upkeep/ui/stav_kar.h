#pragma once

#include "upkeep/KartUpkeep.h"

#include <QDialog>

#include <array>
#include <functional>

class QCheckBox;
class QLineEdit;
class QSpinBox;
class QTabWidget;
class TPotvrdDlg;

// "Technický stav motokár": a page per kart with its engine hours, fuel figures and service tasks.
// Its controls hold the current records: "Potvrdit" stores them, "Zrušit" reloads the file, and the
// race reads and writes the driven time ("Najeto") through it.
class TStav_KarFrm : public QDialog {
    Q_OBJECT

public:
    TStav_KarFrm(KartUpkeep& upkeep, TPotvrdDlg& confirmation, QWidget* parent = nullptr);

    // The records from the file into the controls; what is to be told once is thrown as UserError
    // after the controls are filled.
    void LoadKartStates();
    // Shows the first page and recomputes the totals and the fuel figures.
    void FormActivate();
    // "Potvrdit" and every STOP: all four records to the file.
    void OKClick();
    // Program close: only the four driven times.
    void writeDrivenTimes();
    void UpdateFuelFigures();
    void PocStavChange(int kart); // PocStav1_HodChange .. PocStav4_HodChange
    void VynulujClick(int kart);  // Vynuluj1Click .. Vynuluj4Click

    // The driven time of kart 1..4 as the race reads and sets it.
    QString drivenText(int kart) const;
    void setDrivenText(int kart, const QString& text);

    // The records as the controls hold them (into the upkeep's states).
    void takeControls();

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

    QWidget* makePage(int kart);
    void showStates();
    void showTotal(int kart);

    KartUpkeep& m_upkeep;
    TPotvrdDlg& m_confirmation;
    QTabWidget* m_pages;
    std::array<KartControls, 4> m_karts{};
};
