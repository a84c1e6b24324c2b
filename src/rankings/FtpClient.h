#pragma once

#include "base/ITimer.h"
#include "rankings/FtpReplyReader.h"

#include <QFile>
#include <QHostAddress>
#include <QList>
#include <QObject>
#include <QSslCertificate>
#include <QSslError>
#include <QString>
#include <QTimer>

#include <memory>

class QSslSocket;
class QTcpServer;
class TimerFactory;

// A plain FTP client (RFC 959) over one control connection, for uploads: log in, change and print the
// directory, binary type, store a file, quit, abort. The server connects back for the data unless
// passive mode is on; explicit TLS (AUTH TLS, PBSZ 0, PROT P) encrypts both connections, checking the
// server's certificate against the system's store. It runs on the thread's event loop: each request
// returns its number at once and ends with finished(), which is always delivered queued, so a
// receiver may start the next request or wait for the operator without the client being inside its
// own socket handling. One request at a time.
class FtpClient : public QObject {
    Q_OBJECT

public:
    enum class State { Ready, Lookup, Connecting, Connected, Waiting, Aborting };
    static constexpr quint16 DefaultPort = 21;
    static constexpr int DefaultTimeoutMs = 90 * 1000;

    // The program's message timers measure how long a request may take; tests give virtual ones.
    explicit FtpClient(QObject* parent = nullptr);
    explicit FtpClient(TimerFactory& timers, QObject* parent = nullptr);
    ~FtpClient() override;

    void setPassive(bool passive) { m_passive = passive; }
    void setTls(bool tls) { m_tls = tls; }
    // How long a request may go without any answer or progress before it is given up; tests shorten it.
    void setRequestTimeout(int milliseconds) { m_timeoutMs = milliseconds; }
    // Certificates trusted besides the system's (a test's own authority).
    void setExtraCaCertificates(const QList<QSslCertificate>& certificates) { m_extraCa = certificates; }

    State state() const { return m_state; }
    // The control connection is open (it may be open without a login).
    bool isConnected() const;
    bool isBusy() const { return m_current != 0; }
    // Bytes of the current or last store handed to the network.
    qint64 bytesSent() const { return m_sent; }

    int connectToServer(const QString& host, quint16 port, const QString& user, const QString& password);
    int changeDirectory(const QString& directory);
    int printDirectory();
    int setBinaryType();
    int store(const QString& localPath, const QString& remoteName);
    // Ends the connection with QUIT; a request under way is cut off first (it fails as aborted).
    int quit();
    // Says QUIT and closes the connection at once, without waiting for the answer, so that a server
    // that hangs keeps nothing waiting; a request under way fails as aborted.
    void quitAndClose();
    // Closes both connections at once, without a command; a request under way fails as aborted.
    void abort();

    // The texts of the client's own failures.
    static QString socketErrorText(int socketError, const QString& systemText);
    static QString notConnectedError();

signals:
    void stateChanged(FtpClient::State state);
    // error is empty when the request succeeded, else the server's reply line or the client's text.
    void finished(int request, const QString& error);
    void progress(qint64 bytesSent);
    // The control connection has closed, for whatever reason.
    void closed();

private:
    enum class Step {
        None,
        Greeting,
        AuthTls,
        Handshake,
        User,
        Pass,
        Pbsz,
        Prot,
        Simple,
        Epsv,
        Pasv,
        Port,
        Stor,
        Quit
    };

    int begin();
    int failAtOnce(const QString& error);
    // A one-line command on the open connection, ended by one of the accepted replies.
    int simpleRequest(const QString& command, QList<int> accepted);
    void finish(const QString& error);
    void setState(State state);
    bool sendCommand(const QString& command);
    void restartTimer();

    void controlReadyRead();
    void processReplies();
    void controlStateChanged(int socketState);
    void controlFailed(int socketError);
    void controlEncrypted();
    void onReply(const FtpReply& reply);
    void onConnectReply(const FtpReply& reply);
    void login();
    void afterLogin();
    void onStoreReply(const FtpReply& reply);
    void sendStor();
    void openPassiveData(quint16 port);
    void takeActiveData();
    void dataReady();
    void dataFailed(int socketError);
    void pump();
    // A command broken off by a close or an abort ends as aborted; closed() when the line was open.
    void endBrokenOff(bool wasOpen);
    void timedOut();
    void releaseControl();
    void closeGracefully();
    void releaseData();
    void connectionLost(const QString& error);
    QString tlsFailure(const QString& systemText) const;
    void configureTls(QSslSocket& socket) const;

    State m_state = State::Ready;
    bool m_passive = false;
    bool m_tls = false;
    int m_timeoutMs = DefaultTimeoutMs;
    QList<QSslCertificate> m_extraCa;

    QSslSocket* m_control = nullptr;
    bool m_controlOpen = false;
    QSslSocket* m_data = nullptr;
    QTcpServer* m_listener = nullptr;
    FtpReplyReader m_reader;
    std::unique_ptr<ITimer> m_timer;
    QList<QSslError> m_sslErrors;

    int m_nextRequest = 0;
    int m_current = 0;
    Step m_step = Step::None;
    QList<int> m_accepted;
    QString m_host;
    QString m_user;
    QString m_password;
    bool m_epsvRefused = false;
    bool m_cutTransfer = false;

    QFile m_file;
    QString m_remoteName;
    bool m_storAccepted = false;
    bool m_dataOpen = false;
    bool m_dataDone = false;
    qint64 m_handed = 0;
    qint64 m_sent = 0;
};
