#pragma once

#include "config/ui/SettingsPage.h"

#include <memory>

class ControlPulse;

namespace Ui {
class HwControlPage;
}

// The settings page "Hw. řízení na LPT portu": the control pulse, the inverted inputs, the deletion
// of short laps, the dead time and each kart's measurement correction.
class HwControlPage : public SettingsPage {
    Q_OBJECT

public:
    // controlPulse may be null: the pulse fields then only edit the settings.
    HwControlPage(TSettings& settings, ControlPulse* controlPulse, QWidget* parent = nullptr);
    ~HwControlPage() override;

    // A change of either pulse field sets its timer's interval at once.
    void SpinLOG0Change(int value);
    void SpinLOG1Change(int value);

private:
    std::unique_ptr<Ui::HwControlPage> ui;
    ControlPulse* m_controlPulse;
};
