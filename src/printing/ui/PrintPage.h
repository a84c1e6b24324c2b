#pragma once

#include "config/ui/SettingsPage.h"

#include <QImage>
#include <QString>

#include <functional>
#include <memory>

namespace Ui {
class PrintPage;
}

// The settings page "Tisk": the logo of the printed sheets, its size and place, and their eight
// free text lines.
class PrintPage : public SettingsPage {
    Q_OBJECT

public:
    // Work of other parts of the program; an empty hook does nothing.
    struct Hooks {
        std::function<void()> showResultsPreview; // "Náhled"
        // The picture-open dialog of "Načti logo"; returns the chosen file or an empty text.
        std::function<QString(const QString& startFolder)> chooseLogoFile;
    };

    // dataFolder holds "Logo"; empty: the program's folder.
    explicit PrintPage(TSettings& settings, QString dataFolder = {}, QWidget* parent = nullptr);
    ~PrintPage() override;

    Hooks& hooks() { return m_hooks; }

    // Reading the settings file shows the logo, or the notice that it is not there.
    void fillSettingsHooks(SettingsHooks& hooks) override;

    // Loads the print logo; false when the file is no picture.
    bool loadLogoPicture(const QString& path);
    // The print logo as the page holds it (null without one).
    QImage logoPicture() const;
    QString logoFolder() const;

    void Nacti1Click();

private:
    std::unique_ptr<Ui::PrintPage> ui;
    QString m_dataFolder;
    Hooks m_hooks;
};
