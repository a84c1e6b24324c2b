#pragma once

#include "config/ui/SettingsPage.h"

#include <functional>

// The settings page "Hlas": the spoken call-outs of lap times, whom and what they call, the end of the
// race, the volume and speed, and "Vyzkoušet", which says a sample.
class HlasPage : public SettingsPage {
    Q_OBJECT

public:
    struct Hooks {
        // "Použít hlášení" ticked on: the voice and the sound device are checked.
        std::function<void()> switchedOn;
        std::function<void()> testClicked;
    };

    explicit HlasPage(TSettings& settings, QWidget* parent = nullptr);

    Hooks& hooks() { return m_hooks; }

private:
    Hooks m_hooks;
};
