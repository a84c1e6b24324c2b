#pragma once

#include "config/ui/SettingsPage.h"

#include <QtGlobal>

#include <memory>

class PortTester;
class SerialLearnPanel;
class StartupPage;
class TSmallPort;
class TimerFactory;

namespace Ui {
class PortTestPage;
}

// The settings page "Testování": the parallel port's diagnostics (open, read once or repeatedly,
// write a value, on a port of its own choice) and the serial port's test reading.
class PortTestPage : public SettingsPage {
    Q_OBJECT

public:
    // parallelPort and timers together make the diagnostics; learnPanel the serial test. A missing
    // one makes its buttons do nothing. The third port's base is the start page's.
    PortTestPage(TSettings& settings, StartupPage& startup, TSmallPort* parallelPort, TimerFactory* timers,
                 SerialLearnPanel* learnPanel, QWidget* parent = nullptr);
    ~PortTestPage() override;

    // The parallel port diagnostics (null without a parallel port).
    PortTester* portTester() const { return m_portTester; }

    // The port button's caption follows the port; activation and closing stop the repeated reading.
    void windowShown() override;
    void windowActivated() override;
    void windowClosed() override;

    // The handlers, named after their controls.
    void btn_PortClick();
    void CtiPortClick();
    void UlozPortClick();
    void TestPortClick(int choice);
    void showPortState(quint8 data, quint8 status);

private:
    void connectPortTester(StartupPage& startup);
    void connectSerialTest();
    int testPortChoice() const;

    std::unique_ptr<Ui::PortTestPage> ui;
    TSmallPort* m_parallelPort;
    SerialLearnPanel* m_learnPanel;
    PortTester* m_portTester = nullptr;
};
