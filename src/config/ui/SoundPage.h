#pragma once

#include "config/ui/SettingsPage.h"

#include <QString>

#include <memory>

class SoundPlayer;

namespace Ui {
class SoundPage;
}

// The settings page "Zvuky": applause and the end-of-race sound, chosen in the folder "zvuky", and
// the sound test on the main window's player.
class SoundPage : public SettingsPage {
    Q_OBJECT

public:
    // dataFolder holds "zvuky"; empty: the program's folder. Without a player the test does nothing.
    SoundPage(TSettings& settings, SoundPlayer* player, QString dataFolder = {}, QWidget* parent = nullptr);
    ~SoundPage() override;

    // Reading the settings file selects the configured sound.
    void fillSettingsHooks(SettingsHooks& hooks) override;

    // Points the sound tree at "zvuky" and selects the file of that name, else "success.wav".
    bool selectSoundFile(const QString& fileName);
    QString soundFolder() const;

    // The handlers, named after their controls.
    void PlayButton2Click();
    void Button2Click();
    void Cesta_BoxChange();

private:
    void fillSoundTree();

    std::unique_ptr<Ui::SoundPage> ui;
    SoundPlayer* m_player;
    QString m_dataFolder;
};
