#pragma once

#include <QByteArray>
#include <QHostAddress>
#include <QObject>
#include <QPointer>
#include <QStringList>
#include <QTcpServer>
#include <QTcpSocket>

#include <functional>
#include <optional>

// An FTP server of the test's own making on 127.0.0.1, in the test's thread, that answers as it is
// told: well by default (active mode, any login), or with whatever bytes, silences and closes a
// hostile or broken server would send. It records every command line it gets.
class ScriptedFtpServer : public QObject {

public:
    // What the server does with one command.
    struct Answer {
        QByteArray bytes;              // sent as they are (several replies, garbage, no line end)
        bool close = false;            // then closes the control connection
        bool silent = false;           // sends nothing at all
        bool closeMidTransfer = false; // STOR: accepts the data, then closes both connections
        bool holdTransfer = false;     // STOR: takes the data but never says it is complete
    };

    ScriptedFtpServer();

    quint16 port() const { return m_server.serverPort(); }
    // Sent when a client connects; empty sends nothing.
    QByteArray greeting = "220 Pripraven\r\n";
    bool closeAtConnect = false;
    // The answer to a command line; unset (or returning nothing) answers as a good server would.
    std::function<std::optional<Answer>(const QString& line)> script;

    // Every command line received; "<connect>" marks each new connection.
    QStringList commands;
    // What each completed STOR brought, by remote name.
    QList<QPair<QString, QByteArray>> stored;
    int connections() const { return m_connections; }
    // Control connections that the client closed or cut.
    int disconnects() const { return m_disconnects; }

private:
    void accept();
    void readCommands(QTcpSocket* control);
    Answer defaultAnswer(const QString& line) const;
    void startTransfer(QTcpSocket* control, const QString& name, const Answer& answer);

    QTcpServer m_server;
    int m_connections = 0;
    int m_disconnects = 0;
    QHostAddress m_dataAddress;
    quint16 m_dataPort = 0;
};
