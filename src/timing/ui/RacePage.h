#pragma once

#include "config/ui/SettingsPage.h"

// The settings page "Závod": how a race ends (the chequered flag, the limit, the printing of the
// results) and whether the drivers' names of the last race are cleared at START.
class RacePage : public SettingsPage {
    Q_OBJECT

public:
    explicit RacePage(TSettings& settings, QWidget* parent = nullptr);

    // "Vymazat jména po závodě" is also ticked in the drivers' window, which stays open meanwhile.
    void windowShown() override { syncFromSettings(); }
};
