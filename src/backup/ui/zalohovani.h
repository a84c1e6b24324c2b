#pragma once

#include "backup/TBackupFile.h"

#include <QDialog>

#include <array>
#include <functional>
#include <memory>

class QButtonGroup;
class QCheckBox;
class QLineEdit;
class QListWidget;
class TUkonceniDlg;

namespace Ui {
class ZalohujFrm;
}

// "Zálohování": backs the station's data files up into an archive in "zaloha" and restores them; a
// successful restore ends the program so that the restored files are read afresh.
class TZalohujFrm : public QDialog {
    Q_OBJECT

public:
    struct Hooks {
        // After a successful restore and its notice: the program ends without writing its own
        // state over the restored files.
        std::function<void()> restored;
        // Whether a race runs: a restore then would be undone by the race's own writes.
        std::function<bool()> raceRunning;
        // Message boxes; the toolkit's own when empty (tests answer them here).
        std::function<void(const QString& text)> message;
        std::function<bool(const QString& text)> question;
        // A folder chooser for the "..." buttons; returns the chosen folder or an empty text.
        std::function<QString(const QString& start)> chooseFolder;
    };

    TZalohujFrm(const QString& dataFolder, TUkonceniDlg& ukonceni, QWidget* parent = nullptr);
    ~TZalohujFrm() override;

    Hooks& hooks() { return m_hooks; }
    TBackupFile& Backupfile1() { return m_backup; }

    void FormActivate();
    void CheckBox1Click();
    void NovysouborChange();
    void ZalohovatBtnClick();
    void Backupfile1Progress(const QString& fileName, int percent, bool& go);
    void BtnCancelClick();
    void FileListBox1Click();
    void rbOrigpathClick();
    void ObnovitBtnClick();

protected:
    void showEvent(QShowEvent* event) override;
    void reject() override;

private:
    // Radio buttons named <name>0, <name>1, ... as one group whose ids are their positions.
    QButtonGroup* optionGroup(const QString& name);
    void connectControls();
    void readFileLists();
    void clearListing();
    void chooseFolder(QLineEdit* path);
    void showMessage(const QString& text);
    // A question with Ano and Ne, or with OK and Cancel.
    bool ask(const QString& text, bool okCancel = false);
    QString selectedIn(QListWidget* list) const;

    QString m_dataFolder;
    TUkonceniDlg& m_ukonceni;
    TBackupFile m_backup;
    Hooks m_hooks;

    std::unique_ptr<Ui::ZalohujFrm> ui;
    std::array<QCheckBox*, 4> m_sets{};
    QButtonGroup* m_level = nullptr;
    QButtonGroup* m_backupMode = nullptr;
    QButtonGroup* m_restoreMode = nullptr;
};
