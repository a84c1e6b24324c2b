#pragma once

#include "config/ui/SettingsPage.h"

#include <memory>

class StartupPage;

namespace Ui {
class LightsPage;
}

// The settings page "Semafor": the start lights, their delay and the pins of each lamp. The lights
// use the port chosen on the page "Po spuštění", which this page follows.
class LightsPage : public SettingsPage {
    Q_OBJECT

public:
    LightsPage(TSettings& settings, StartupPage& startup, QWidget* parent = nullptr);
    ~LightsPage() override;

private:
    void setChoice(int choice);

    std::unique_ptr<Ui::LightsPage> ui;
};
