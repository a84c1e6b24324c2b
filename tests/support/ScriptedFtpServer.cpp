#include "ScriptedFtpServer.h"

#include <QRegularExpression>

ScriptedFtpServer::ScriptedFtpServer() {
    m_server.listen(QHostAddress::LocalHost, 0);
    connect(&m_server, &QTcpServer::newConnection, this, &ScriptedFtpServer::accept);
}

void ScriptedFtpServer::accept() {
    while (QTcpSocket* control = m_server.nextPendingConnection()) {
        ++m_connections;
        commands << QStringLiteral("<connect>");
        control->setParent(this);
        if (closeAtConnect) {
            control->disconnectFromHost();
            continue;
        }
        connect(control, &QTcpSocket::readyRead, this, [this, control] { readCommands(control); });
        connect(control, &QTcpSocket::disconnected, control, [this, control] {
            // Whatever the client sent before it went is read by then.
            readCommands(control);
            ++m_disconnects;
            control->deleteLater();
        });
        if (!greeting.isEmpty())
            control->write(greeting);
    }
}

ScriptedFtpServer::Answer ScriptedFtpServer::defaultAnswer(const QString& line) const {
    const QString word = line.section(QLatin1Char(' '), 0, 0).toUpper();
    if (word == QLatin1String("USER"))
        return {"331 Heslo\r\n"};
    if (word == QLatin1String("PASS"))
        return {"230 Prihlasen\r\n"};
    if (word == QLatin1String("CWD"))
        return {"250 OK\r\n"};
    if (word == QLatin1String("PWD"))
        return {"257 \"/\"\r\n"};
    if (word == QLatin1String("TYPE") || word == QLatin1String("PORT"))
        return {"200 OK\r\n"};
    if (word == QLatin1String("STOR"))
        return {"150 Posilejte\r\n"};
    if (word == QLatin1String("QUIT"))
        return {"221 Nashledanou\r\n", true};
    return {"502 Neznam\r\n"};
}

void ScriptedFtpServer::readCommands(QTcpSocket* control) {
    while (control->canReadLine()) {
        const QString line = QString::fromUtf8(control->readLine()).trimmed();
        commands << line;
        std::optional<Answer> answer = script ? script(line) : std::nullopt;
        if (!answer)
            answer = defaultAnswer(line);
        const QString word = line.section(QLatin1Char(' '), 0, 0).toUpper();
        if (word == QLatin1String("PORT")) {
            const QStringList n = line.section(QLatin1Char(' '), 1).split(QLatin1Char(','));
            if (n.size() == 6) {
                m_dataAddress = QHostAddress(n.mid(0, 4).join(QLatin1Char('.')));
                m_dataPort = quint16(n[4].toUInt() * 256 + n[5].toUInt());
            }
        }
        if (answer->silent)
            continue;
        control->write(answer->bytes);
        if (word == QLatin1String("STOR") && answer->bytes.startsWith("150")) {
            startTransfer(control, line.section(QLatin1Char(' '), 1), *answer);
            continue;
        }
        if (answer->close) {
            control->disconnectFromHost();
            return;
        }
    }
}

void ScriptedFtpServer::startTransfer(QTcpSocket* control, const QString& name, const Answer& answer) {
    auto* data = new QTcpSocket(this);
    auto* bytes = new QByteArray;
    QPointer<QTcpSocket> controlAlive(control);
    connect(data, &QTcpSocket::readyRead, this, [=] {
        *bytes += data->readAll();
        if (answer.closeMidTransfer) {
            data->abort();
            if (controlAlive)
                controlAlive->abort();
        }
    });
    connect(data, &QTcpSocket::disconnected, this, [=] {
        if (data->isOpen())
            *bytes += data->readAll();
        if (!answer.closeMidTransfer && !answer.holdTransfer && controlAlive) {
            stored.append({name, *bytes});
            controlAlive->write("226 Hotovo\r\n");
        }
        delete bytes;
        data->deleteLater();
    });
    data->connectToHost(m_dataAddress, m_dataPort);
}
