#pragma once

#include "rankings/FtpClient.h"

#include <QElapsedTimer>
#include <QObject>
#include <QString>

#include <array>
#include <functional>

struct TSettings;

// The upload of the page "Ftp klient": up to four chosen files and the two best-twenty pictures, in a
// fixed order of six steps over one FTP connection, each step tried once per send whatever became of
// the one before. The page observes it: the enable state of its buttons, the state and byte-count
// labels, the wait cursor; errors go to the operator through a hook.
class FtpSend : public QObject {
    Q_OBJECT

public:
    enum Step { Entry1, Entry2, Entry3, Entry4, MenTable, WomenTable, StepCount };

    struct Hooks {
        // Writes the two table pictures (the best-twenty window's work); throws UserError on failure.
        std::function<void(const QString& menPath, const QString& womenPath)> makeTablePictures;
        // Shows "Chyba " and the error text; may wait until the operator has read it.
        std::function<void(const QString& message)> showError;
    };

    FtpSend(TSettings& settings, FtpClient& client, QObject* parent = nullptr);

    Hooks& hooks() { return m_hooks; }
    // Servers listen on 21; tests run theirs elsewhere. A port written into the host ("host:2121")
    // takes precedence.
    void setDefaultPort(quint16 port) { m_defaultPort = port; }

    // "&Pošli data": password is the password field's content at this moment.
    void send(const QString& password);
    // " &Zrušit    ": forgets the send and ends the connection with QUIT, cutting off a transfer. The
    // connection closes at once: a server that hangs does not get to hold up the next send.
    void cancel();
    // The settings window's OK: closes the connection at once.
    void abort();
    // A click on box 1..5 (cbFtp1 .. cbFtp5): 4 and 5 exclude each other.
    void boxClicked(int box);
    // The page has been shown: the five click handlers run in order.
    void pageShown();

    bool sending() const { return m_sending; }
    bool sendEnabled() const { return m_sendEnabled; }
    bool confirmEnabled() const { return m_confirmEnabled; }
    bool waitCursor() const { return m_waitCursor; }
    QString stateText() const { return m_stateText; }
    QString infoText() const { return m_infoText; }

    // The local file and remote name of a step, as the settings give them now.
    QString localPath(Step step) const;
    QString remoteName(Step step) const;
    // Host and port of Ftp/Hostitel: "name", "name:port", "[v6 address]:port" or a bare v6 address.
    static std::pair<QString, quint16> hostAndPort(const QString& text, quint16 defaultPort);

signals:
    void sendEnabledChanged(bool enabled);
    void confirmEnabledChanged(bool enabled);
    void waitCursorChanged(bool on);
    void stateTextChanged(const QString& text);
    void infoTextChanged(const QString& text);
    // The boxes' settings changed other than by the clicked box (4 and 5 excluding each other).
    void boxesChanged();
    // A step's store has been asked for (for whoever follows the send).
    void stepStarted(FtpSend::Step step);
    // Nothing more will happen for the send that was started.
    void sendEnded();

private:
    enum class Phase {
        Idle,
        QuittingOld,
        Connecting,
        ChangingDirectory,
        PrintingDirectory,
        SettingType,
        StepType,
        StepStore
    };

    void afterOldConnection();
    void afterLogin();
    void nextStep();
    void endSend();
    // Ends a send that the operator cut short: the window is given back at once.
    void endSendAtOnce();
    void requestFinished(int request, const QString& error);
    void clientStateChanged(FtpClient::State state);
    void connectionClosed();
    void showProgress(qint64 bytes);
    bool stepWanted(int step) const;
    static int markOf(int step);

    void setSendEnabled(bool enabled);
    void setConfirmEnabled(bool enabled);
    void setWaitCursor(bool on);
    void setInfoText(const QString& text);

    TSettings& m_settings;
    FtpClient& m_client;
    Hooks m_hooks;
    quint16 m_defaultPort = FtpClient::DefaultPort;
    QString m_password;

    Phase m_phase = Phase::Idle;
    int m_request = 0;
    bool m_sending = false;
    int m_step = -1;
    // Entry 4 and the men's table share the fourth mark.
    std::array<bool, 5> m_done{};

    bool m_sendEnabled = false;
    bool m_confirmEnabled = true;
    bool m_waitCursor = false;
    QString m_stateText = QStringLiteral("Připraven");
    QString m_infoText;
    QElapsedTimer m_infoShown;
};
