#pragma once

#include "config/ui/SettingsPage.h"

#include <QString>

#include <functional>
#include <memory>

class QButtonGroup;

namespace Ui {
class AudiencePage;
}

// The settings page "TV výstup": the race progress window for spectators and the live results page.
class AudiencePage : public SettingsPage {
    Q_OBJECT

public:
    // What a click does to the audience window and the page; an empty hook does nothing.
    struct Hooks {
        std::function<void()> tvOutClicked; // TV_OUT_Box
        std::function<void()> transparentFormClicked;
        std::function<void()> displayTypeClicked;
        // Group " Webová stránka ": the box clicked; the address spectators type (for the port given).
        std::function<void()> webBoxClicked;
        std::function<QString(int port)> webAddress;
    };

    explicit AudiencePage(TSettings& settings, QWidget* parent = nullptr);
    ~AudiencePage() override;

    Hooks& hooks() { return m_hooks; }

    // The address of the live results page as the group " Webová stránka " shows it.
    void showWebAddress();

private:
    std::unique_ptr<Ui::AudiencePage> ui;
    QButtonGroup* m_displayTypeGroup = nullptr;
    Hooks m_hooks;
};
