#pragma once

#include "config/ui/SettingsPage.h"

#include <memory>

class SerialLearnPanel;
class TComPort;

namespace Ui {
class ComPortsPage;
}

// The settings page "COM porty": the serial line's parameters, applied to the port at once, its RTS
// and DTR, and the learning of each kart's byte sequences.
class ComPortsPage : public SettingsPage {
    Q_OBJECT

public:
    // Either may be null: the lists then show the built-in parameters, the learn buttons do nothing.
    ComPortsPage(TSettings& settings, TComPort* comPort, SerialLearnPanel* learnPanel,
                 QWidget* parent = nullptr);
    ~ComPortsPage() override;

    // The section "ComPort1" is the port's: its parameters are read into it and stored from it;
    // saving closes the port.
    void fillSettingsHooks(SettingsHooks& hooks) override;
    // The lists follow the port at each activation.
    void windowActivated() override;

    // Puts the six lists in line with the serial port object.
    void showSerialParameters();

private:
    void applySerialList(int which, const QString& value);
    void showLearnButton(int slot);
    void showSequence(int slot);

    std::unique_ptr<Ui::ComPortsPage> ui;
    TComPort* m_comPort;
    SerialLearnPanel* m_learnPanel;
};
