#pragma once

#include "config/SettingsHooks.h"

#include <QDialog>
#include <QImage>
#include <QString>

#include <functional>
#include <memory>
#include <vector>

class ControlPulse;
class DataFolder;
class PortRepair;
class SystemRestart;
class DesktopShortcut;
class FtpSend;
class PortTester;
class QButtonGroup;
class QCheckBox;
class QLineEdit;
class QListWidget;
class QRadioButton;
class QSpinBox;
class QTreeWidgetItem;
class SensorSourceChoice;
class SerialLearnPanel;
class ShellOpen;
class SoundPlayer;
class StartEntry;
class TComPort;
class TSmallPort;
class TimerFactory;
struct SerialParameters;
struct TSettings;

namespace Ui {
class TNastavDlg;
}

// The settings window "Nastavení". Every editing control is the view of one TSettings field and
// writes it at once, so Cancel keeps the edits in effect; OK writes the settings file.
class TNastavDlg : public QDialog {
    Q_OBJECT

public:
    // What the window works with; a missing service makes its actions do nothing.
    struct Services {
        TSmallPort* parallelPort = nullptr;
        TimerFactory* timers = nullptr; // the port test page's repeat timer; needed with parallelPort
        TComPort* comPort = nullptr;
        SerialLearnPanel* learnPanel = nullptr;
        SensorSourceChoice* sensorSource = nullptr;
        SoundPlayer* soundPlayer = nullptr;
        StartEntry* startEntry = nullptr;
        DesktopShortcut* desktopShortcut = nullptr;
        ShellOpen* shell = nullptr;
        ControlPulse* controlPulse = nullptr; // SpinLOG0, SpinLOG1
        PortRepair* portRepair = nullptr;     // OpravLPT, with systemRestart
        SystemRestart* systemRestart = nullptr;
        FtpSend* ftpSend = nullptr; // the page "Ftp klient"; without it the page's hooks are called
        QString programPath;        // empty: the running program's file
        QString dataFolder;         // the folder holding "zvuky" and "Logo"; empty: the program's folder
    };

    // Work of other parts of the program, filled in when they are built; an empty hook does nothing.
    struct Hooks {
        std::function<void()> closeMainWindow;    // "&Ukončit" of the always-on-top notice
        std::function<void()> resetBestTwenty;    // "Vynuluj tabulky Nej 20"
        std::function<void()> showBackup;         // "Zálohování"
        std::function<void()> showResultsPreview; // "Náhled"
        std::function<void()> tvOutClicked;       // TV_OUT_Box
        std::function<void()> transparentFormClicked;
        std::function<void()> displayTypeClicked;
        // Group " Webová stránka ": the box clicked; the address spectators type (for the port given).
        std::function<void()> webBoxClicked;
        std::function<QString(int port)> webAddress;
        // Page "Ftp klient": boxes 1..5. With an FtpSend among the services the window fills these.
        std::function<void(int box)> ftpBoxClicked;
        std::function<void()> ftpPageShown;
        std::function<void()> ftpSend;
        std::function<void()> ftpCancel;
        // The picture-open dialog of "Načti logo"; returns the chosen file or an empty text.
        std::function<QString(const QString& startFolder)> chooseLogoFile;
        // The file-open dialog of the page "Ftp klient"'s "..." buttons; start is the edit's text.
        std::function<QString(const QString& start)> chooseFtpFile;
    };

    TNastavDlg(TSettings& settings, Services services, QWidget* parent = nullptr);
    ~TNastavDlg() override;

    Hooks& hooks() { return m_hooks; }
    TSettings& settings() { return m_settings; }
    // The steps of reading and saving the settings file that belong to other parts (FTP abort,
    // external start watch, process priority). The window fills the ones it owns: the serial port's
    // parameters and closing, the logo and its notice, the sound file, the always-on-top notice and
    // the resting value of the parallel port.
    SettingsHooks& settingsHooks() { return m_settingsHooks; }
    // The parallel port diagnostics of the page "Testování" (null without a parallel port).
    PortTester* portTester() const { return m_portTester; }

    // Reads "tarvolin.ini" (with the section "ComPort1") into the settings and shows them.
    void readSettingsFile();
    // The same in the two halves of the main window's first activation, which opens the parallel port
    // between them: the serial section and every key; then the logo (with its notice) and the sound.
    void readSettingsFileKeys();
    void finishReadingSettingsFile();

    // Puts every field of the settings into its control (after the settings file was read). The
    // start-with-the-system box writes or removes the start entry when this changes it.
    void syncFromSettings();

    // Opened with the main window's "&Nastavení": the first page; the serial line's section is
    // stored whichever way the window closes.
    int execFromMainWindow();
    // Opened with the best-twenty window's "&Ftp".
    int execOnFtpPage();

    // Loads the print logo into the page "Tisk"; false when the file is no picture.
    bool loadLogoPicture(const QString& path);
    // The print logo as the page "Tisk" holds it (null without one).
    QImage logoPicture() const;
    // Points the sound tree at "zvuky" and selects the file of that name, else "success.wav".
    bool selectSoundFile(const QString& fileName);
    QString soundFolder() const;
    QString logoFolder() const;

    // Ostatni/OnTop as it was when the window was last activated.
    bool onTopAtActivation() const { return m_onTopAtActivation; }
    bool onTopChangedSinceActivation() const;

    // OK and Cancel are disabled while a serial capture or an FTP upload is under way.
    void setConfirmEnabled(bool enabled);

    // Puts the six serial lists in line with the serial port object.
    void showSerialParameters();

    // The window's handlers, named after their controls.
    void FormCreate();
    void FormShow();
    void FormActivate();
    void FormClose();
    void OK_BitBtnClick();
    void btn_ZrusClick();
    void StartPortClick();
    void LPTxx_BASEChange(const QString& text);
    void BitBtn1Click();
    void po_spusteniClick();
    void BitBtn2Click();
    void PlayButton2Click();
    void Button2Click();
    void Cesta_BoxChange();
    void Nacti1Click();
    void cbLPTClick();
    void cbCOMClick();
    // Exactly one sensor source stays chosen; the parallel port follows it.
    void chooseSensorSource(bool lptBox, bool checked);
    void SpinLOG0Change(int value);
    void SpinLOG1Change(int value);
    void OpravLPTClick();
    void btnFtpSouborClick(int entry);
    void btn_PortClick();
    void CtiPortClick();
    void UlozPortClick();
    void TestPortClick(int choice);
    void showPortState(quint8 data, quint8 status);
    // The address of the live results page as the group " Webová stránka " shows it.
    void showWebAddress();

    // Escape and the title bar's close button are refused while OK and Cancel are.
    void reject() override;

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void buildCheckLists();
    void bindSettings();
    void connectActions();
    void connectSerial();
    void bindCheck(QCheckBox* box, bool& field);
    void bindSpin(QSpinBox* spin, int& field);
    void bindEdit(QLineEdit* edit, QString& field);
    void bindMask(QListWidget* list, int& field);
    void bindChoice(QButtonGroup* group, int& field);
    int startPortChoice() const;
    void setSemaforChoice(int choice);
    void fillSoundTree();
    void fillOwnSettingsHooks();
    void connectPortTester();
    void connectFtpSend();
    void showFtpError(const QString& message);
    int testPortChoice() const;
    DataFolder folder() const;
    void applySerialList(int which, const QString& value);
    void showLearnButton(int slot);
    void showSequence(int slot);
    QString programPath() const;
    QString dataFolder() const;

    std::unique_ptr<Ui::TNastavDlg> ui;
    TSettings& m_settings;
    Services m_services;
    Hooks m_hooks;
    SettingsHooks m_settingsHooks;
    PortTester* m_portTester = nullptr;
    // Each bound control's loader: puts the field's value into the control.
    std::vector<std::function<void()>> m_loaders;
    QButtonGroup* m_priorityGroup = nullptr;
    QButtonGroup* m_displayTypeGroup = nullptr;
    bool m_onTopAtActivation = false;
    bool m_activatedSinceShow = false;
    bool m_showingSerial = false;
};
