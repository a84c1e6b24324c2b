#pragma once

#include "config/ui/SettingsPage.h"

#include <QString>

#include <functional>
#include <memory>

class FtpSend;

namespace Ui {
class FtpPage;
}

// The settings page "Ftp klient": the files to upload, the server and its login, and the upload
// itself through the FTP send.
class FtpPage : public SettingsPage {
    Q_OBJECT

public:
    // The page's work. With an FtpSend the page fills the first four itself.
    struct Hooks {
        std::function<void(int box)> ftpBoxClicked; // boxes 1..5
        std::function<void()> ftpPageShown;
        std::function<void()> ftpSend;
        std::function<void()> ftpCancel;
        // The file-open dialog of the "..." buttons; start is the edit's text.
        std::function<QString(const QString& start)> chooseFtpFile;
    };

    // send may be null: the page's hooks are then called as they are filled.
    FtpPage(TSettings& settings, FtpSend* send, QWidget* parent = nullptr);
    ~FtpPage() override;

    Hooks& hooks() { return m_hooks; }

    // Saving the settings aborts a transfer under way.
    void fillSettingsHooks(SettingsHooks& hooks) override;
    void pageShown() override;

    void btnFtpSouborClick(int entry);

private:
    void connectActions();
    void connectFtpSend();
    void showFtpError(const QString& message);

    std::unique_ptr<Ui::FtpPage> ui;
    FtpSend* m_send;
    Hooks m_hooks;
};
