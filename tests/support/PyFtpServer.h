#pragma once

#include <QList>
#include <QProcess>
#include <QSslCertificate>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

// A real FTP server (pyftpdlib, from Debian) on 127.0.0.1 at a free port, serving a temporary folder
// to one user. It reports each upload it has received, in order. Stopped with the object.
class PyFtpServer {
public:
    static constexpr const char* User = "tester";
    static constexpr const char* Password = "tajne heslo";

    explicit PyFtpServer(bool tls = false);
    ~PyFtpServer();
    PyFtpServer(const PyFtpServer&) = delete;
    PyFtpServer& operator=(const PyFtpServer&) = delete;

    // Starts the server and waits until it takes connections; false with the reason otherwise.
    bool start(QString* why);
    quint16 port() const { return m_port; }
    QString root() const { return m_root.path(); }
    // The authority that signed the server's certificate (with tls).
    QList<QSslCertificate> caCertificates() const;
    // The uploads received so far, relative to the root, in the order they were completed.
    QStringList received();

private:
    void readOutput();

    bool m_tls;
    QTemporaryDir m_root;
    QTemporaryDir m_tlsDir;
    QProcess m_process;
    QByteArray m_output;
    QStringList m_received;
    quint16 m_port = 0;
};
