#include "config/TSettings.h"

#include "config/SettingsTable.h"

TSettings::TSettings() {
    for (const SettingKey& setting : settingsTable())
        setting.setDefault(*this);
}
