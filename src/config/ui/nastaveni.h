#pragma once

#include "config/SettingsHooks.h"

#include <QDialog>
#include <QList>
#include <QString>

#include <functional>
#include <memory>

class DataFolder;
class SettingsPage;
struct TSettings;

namespace Ui {
class TNastavDlg;
}

// The settings window "Nastavení": the frame of the pages, OK and Cancel, and the settings file. Each
// area of the program contributes its pages, which the program's windows insert in their order. The
// pages edit the settings in place, so Cancel keeps the edits in effect; OK writes the settings file.
class TNastavDlg : public QDialog {
    Q_OBJECT

public:
    // Work of other parts of the program, filled in when they are built; an empty hook does nothing.
    struct Hooks {
        std::function<void()> closeMainWindow; // "&Ukončit" of the always-on-top notice
    };

    // dataFolder holds "tarvolin.ini"; empty: the program's folder.
    explicit TNastavDlg(TSettings& settings, QString dataFolder = {}, QWidget* parent = nullptr);
    ~TNastavDlg() override;

    // Inserts a page after the ones already there, with its window title as the tab's caption. The
    // page fills the steps of the settings file it carries out and may disable OK and Cancel.
    void addPage(SettingsPage* page);
    QList<SettingsPage*> pages() const { return m_pages; }

    Hooks& hooks() { return m_hooks; }
    TSettings& settings() { return m_settings; }
    // The steps of reading and saving the settings file that belong to other parts (FTP abort,
    // external start watch, process priority, the serial port, the logo...). The window fills the
    // always-on-top notice; each page fills its own steps when it is inserted.
    SettingsHooks& settingsHooks() { return m_settingsHooks; }

    // Reads "tarvolin.ini" (with the section "ComPort1") into the settings and shows them.
    void readSettingsFile();
    // The same in the two halves of the main window's first activation, which opens the parallel port
    // between them: the serial section and every key; then the logo (with its notice) and the sound.
    void readSettingsFileKeys();
    void finishReadingSettingsFile();
    // Stores the section "ComPort1" from the serial port's current parameters.
    void writeSerialSection();

    // Puts every field of the settings into its control (after the settings file was read).
    void syncFromSettings();

    // Opened with the main window's "&Nastavení": the first page.
    int execFromMainWindow();
    // Opened on the given page (the best-twenty window's "&Ftp" opens the FTP page).
    int execOnPage(SettingsPage* page);

    // Ostatni/OnTop as it was when the window was last activated.
    bool onTopAtActivation() const { return m_onTopAtActivation; }
    bool onTopChangedSinceActivation() const;

    // OK and Cancel are disabled while a serial capture or an FTP upload is under way.
    void setConfirmEnabled(bool enabled);

    QString dataFolder() const;

    // The window's handlers, named after their controls and events.
    void FormShow();
    void FormActivate();
    void FormClose();
    void OK_BitBtnClick();
    void btn_ZrusClick();

    // Escape and the title bar's close button are refused while OK and Cancel are.
    void reject() override;

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    DataFolder folder() const;
    SerialParameters serialParameters() const;
    void currentPageChanged();

    std::unique_ptr<Ui::TNastavDlg> ui;
    TSettings& m_settings;
    QString m_dataFolder;
    Hooks m_hooks;
    SettingsHooks m_settingsHooks;
    QList<SettingsPage*> m_pages;
    bool m_onTopAtActivation = false;
    bool m_activatedSinceShow = false;
};
