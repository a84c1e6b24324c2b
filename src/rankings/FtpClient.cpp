#include "rankings/FtpClient.h"

#include "base/MessageTimerFactory.h"
#include "base/TimerFactory.h"

#include <QRegularExpression>
#include <QSslConfiguration>
#include <QSslSocket>
#include <QTcpServer>

namespace {

constexpr qint64 ChunkSize = 64 * 1024;
// What may wait in the data socket's buffer: enough to keep the line busy, not the whole file.
constexpr qint64 BufferedLimit = 4 * ChunkSize;

// The server's data connection, taken as a socket that can start TLS like the control connection.
class DataListener : public QTcpServer {
public:
    using QTcpServer::QTcpServer;

protected:
    void incomingConnection(qintptr descriptor) override {
        auto* socket = new QSslSocket(this);
        if (socket->setSocketDescriptor(descriptor))
            addPendingConnection(socket);
        else
            delete socket;
    }
};

// A reply line as an error text: what a hostile server makes of it stays one readable line.
QString replyText(const FtpReply& reply) {
    constexpr int Longest = 300;
    QString text = reply.lastLine().left(Longest);
    for (QChar& c : text) {
        if (c.unicode() < 0x20 || c.unicode() == 0x7F)
            c = QLatin1Char('?');
    }
    return reply.lastLine().size() > Longest ? text + QStringLiteral("…") : text;
}

QHostAddress plainAddress(const QHostAddress& address) {
    bool isV4 = false;
    const quint32 v4 = address.toIPv4Address(&isV4);
    return isV4 ? QHostAddress(v4) : address;
}

} // namespace

FtpClient::FtpClient(QObject* parent) : FtpClient(MessageTimerFactory::instance(), parent) {}

FtpClient::FtpClient(TimerFactory& timers, QObject* parent)
    : QObject(parent), m_timer(timers.createTimer(QStringLiteral("FtpTimeout"), TimerKind::Message)) {
    m_timer->setOnTimer([this] { timedOut(); });
}

FtpClient::~FtpClient() {
    releaseData();
    if (m_control) {
        QObject::disconnect(m_control, nullptr, this, nullptr);
        m_control->abort();
        delete m_control;
    }
}

QString FtpClient::socketErrorText(int socketError, const QString& systemText) {
    struct Known {
        QAbstractSocket::SocketError error;
        const char* text;
        int number;
    };
    // The numbers are the ones operators know from the Windows stations' messages.
    static const Known known[] = {
        {QAbstractSocket::ConnectionRefusedError, "Server odmítl spojení", 10061},
        {QAbstractSocket::RemoteHostClosedError, "Server ukončil spojení", 10054},
        {QAbstractSocket::HostNotFoundError, "Server nebyl nalezen", 11001},
        {QAbstractSocket::SocketAccessError, "Přístup k síti byl odepřen", 10013},
        {QAbstractSocket::SocketResourceError, "Nedostatek prostředků pro spojení", 10055},
        {QAbstractSocket::SocketTimeoutError, "Server neodpověděl včas", 10060},
        {QAbstractSocket::NetworkError, "Chyba sítě", 10050},
        {QAbstractSocket::UnsupportedSocketOperationError, "Nepodporovaná síťová operace", 10045},
        {QAbstractSocket::AddressInUseError, "Adresa je již používána", 10048},
        {QAbstractSocket::SocketAddressNotAvailableError, "Adresa není dostupná", 10049},
    };
    for (const Known& k : known) {
        if (k.error == socketError)
            return QStringLiteral("%1 (Winsock error #%2)").arg(QString::fromUtf8(k.text)).arg(k.number);
    }
    return QStringLiteral("%1 (Winsock error #%2)").arg(systemText).arg(socketError);
}

QString FtpClient::notConnectedError() {
    return QStringLiteral("500 Control connection closed. Spojení se serverem není otevřeno (Winsock error "
                          "#10057)");
}

bool FtpClient::isConnected() const {
    return m_control && m_controlOpen;
}

void FtpClient::setState(State state) {
    if (m_state == state)
        return;
    m_state = state;
    emit stateChanged(state);
}

void FtpClient::restartTimer() {
    // The wait starts anew from the full time.
    m_timer->setEnabled(false);
    m_timer->setInterval(quint32(m_timeoutMs));
    m_timer->setEnabled(true);
}

int FtpClient::begin() {
    m_current = ++m_nextRequest;
    m_accepted.clear();
    m_cutTransfer = false;
    restartTimer();
    return m_current;
}

int FtpClient::failAtOnce(const QString& error) {
    const int request = ++m_nextRequest;
    QMetaObject::invokeMethod(
        this, [this, request, error] { emit finished(request, error); }, Qt::QueuedConnection);
    return request;
}

void FtpClient::finish(const QString& error) {
    const int request = m_current;
    if (request == 0)
        return;
    m_current = 0;
    m_step = Step::None;
    m_timer->setEnabled(false);
    releaseData();
    m_file.close();
    setState(State::Ready);
    QMetaObject::invokeMethod(
        this, [this, request, error] { emit finished(request, error); }, Qt::QueuedConnection);
}

bool FtpClient::sendCommand(const QString& command) {
    // A line break inside an argument would smuggle a command of its own onto the connection.
    if (command.contains(QLatin1Char('\r')) || command.contains(QLatin1Char('\n'))) {
        finish(QStringLiteral("500 Příkaz obsahuje konec řádku, neodeslán"));
        return false;
    }
    m_control->write(command.toUtf8() + "\r\n");
    restartTimer();
    setState(State::Waiting);
    return true;
}

// --- the control connection ------------------------------------------------------------------------

void FtpClient::configureTls(QSslSocket& socket) const {
    QSslConfiguration configuration = QSslConfiguration::defaultConfiguration();
    if (!m_extraCa.isEmpty())
        configuration.addCaCertificates(m_extraCa);
    configuration.setPeerVerifyMode(QSslSocket::VerifyPeer);
    // The data connections resume the control connection's session, as many servers demand.
    configuration.setSslOption(QSsl::SslOptionDisableSessionPersistence, false);
    socket.setSslConfiguration(configuration);
    socket.setPeerVerifyName(m_host);
}

int FtpClient::connectToServer(const QString& host, quint16 port, const QString& user,
                               const QString& password) {
    if (isBusy())
        return failAtOnce(QStringLiteral("500 Předchozí požadavek ještě běží"));
    releaseControl();
    m_host = host;
    m_user = user;
    m_password = password;
    m_epsvRefused = false;
    m_reader.clear();
    m_sslErrors.clear();
    const int request = begin();
    m_step = Step::Greeting;
    m_control = new QSslSocket(this);
    configureTls(*m_control);
    connect(m_control, &QSslSocket::readyRead, this, &FtpClient::controlReadyRead);
    connect(m_control, &QSslSocket::stateChanged, this,
            [this](QAbstractSocket::SocketState socketState) { controlStateChanged(socketState); });
    connect(m_control, &QSslSocket::errorOccurred, this,
            [this](QAbstractSocket::SocketError error) { controlFailed(error); });
    connect(m_control, &QSslSocket::encrypted, this, &FtpClient::controlEncrypted);
    connect(m_control, qOverload<const QList<QSslError>&>(&QSslSocket::sslErrors), this,
            [this](const QList<QSslError>& errors) { m_sslErrors = errors; });
    connect(m_control, &QSslSocket::disconnected, this,
            [this] { controlFailed(QAbstractSocket::RemoteHostClosedError); });
    connect(m_control, &QSslSocket::connected, this, [this] {
        m_controlOpen = true;
        restartTimer();
    });
    // An address needs no lookup, but the connecting starts here all the same.
    setState(State::Lookup);
    m_control->connectToHost(host, port);
    return request;
}

void FtpClient::controlStateChanged(int socketState) {
    if (m_step != Step::Greeting)
        return;
    if (socketState == QAbstractSocket::HostLookupState)
        setState(State::Lookup);
    else if (socketState == QAbstractSocket::ConnectingState)
        setState(State::Connecting);
}

void FtpClient::controlReadyRead() {
    if (!m_control)
        return;
    m_reader.append(m_control->readAll());
    processReplies();
}

void FtpClient::processReplies() {
    QSslSocket* control = m_control;
    while (m_control == control && m_control) {
        const std::optional<FtpReply> reply = m_reader.next();
        if (!reply)
            break;
        restartTimer();
        if (m_current != 0)
            onReply(*reply);
    }
    if (m_control == control && m_control && m_reader.failed()) {
        // Nothing more can be read from a connection that broke the protocol.
        const QString error = QStringLiteral("500 Neplatná odpověď serveru: ") + m_reader.failure();
        releaseControl();
        finish(error);
        emit closed();
    }
}

void FtpClient::controlFailed(int socketError) {
    if (!m_control)
        return;
    // What came before the close is still the server's word (a "421" or the "221" of QUIT).
    if (m_control->bytesAvailable() > 0) {
        m_reader.append(m_control->readAll());
        processReplies();
        if (!m_control)
            return;
    }
    const bool wasOpen = m_controlOpen;
    QString error;
    if (m_step == Step::Handshake || socketError == QAbstractSocket::SslHandshakeFailedError)
        error = tlsFailure(m_control->errorString());
    else if (m_step == Step::Quit)
        error.clear();
    else if (wasOpen)
        error = QStringLiteral("500 Control connection closed. ") +
                socketErrorText(socketError, m_control->errorString());
    else
        error = QStringLiteral("500 ") + socketErrorText(socketError, m_control->errorString());
    releaseControl();
    finish(error);
    if (wasOpen)
        emit closed();
}

void FtpClient::connectionLost(const QString& error) {
    const bool wasOpen = m_controlOpen;
    releaseControl();
    finish(error);
    if (wasOpen)
        emit closed();
}

void FtpClient::releaseControl() {
    releaseData();
    m_controlOpen = false;
    if (!m_control)
        return;
    QSslSocket* control = m_control;
    m_control = nullptr;
    QObject::disconnect(control, nullptr, this, nullptr);
    control->abort();
    control->deleteLater();
}

void FtpClient::closeGracefully() {
    releaseData();
    m_controlOpen = false;
    QSslSocket* control = m_control;
    m_control = nullptr;
    QObject::disconnect(control, nullptr, this, nullptr);
    connect(control, &QSslSocket::disconnected, control, &QObject::deleteLater);
    control->disconnectFromHost();
    if (control->state() == QAbstractSocket::UnconnectedState)
        control->deleteLater();
}

QString FtpClient::tlsFailure(const QString& systemText) const {
    QString reason;
    for (const QSslError& error : m_sslErrors) {
        switch (error.error()) {
        case QSslError::HostNameMismatch:
            reason = QStringLiteral("certifikát serveru nepatří jménu „%1“").arg(m_host);
            break;
        case QSslError::SelfSignedCertificate:
        case QSslError::SelfSignedCertificateInChain:
        case QSslError::UnableToGetLocalIssuerCertificate:
        case QSslError::UnableToGetIssuerCertificate:
        case QSslError::UnableToVerifyFirstCertificate:
        case QSslError::CertificateUntrusted:
        case QSslError::CertificateRejected:
            reason = QStringLiteral("certifikát serveru nevydala důvěryhodná certifikační autorita");
            break;
        case QSslError::CertificateExpired:
            reason = QStringLiteral("platnost certifikátu serveru vypršela");
            break;
        case QSslError::CertificateNotYetValid:
            reason = QStringLiteral("certifikát serveru ještě není platný");
            break;
        case QSslError::CertificateRevoked:
            reason = QStringLiteral("certifikát serveru byl zneplatněn");
            break;
        case QSslError::NoPeerCertificate:
            reason = QStringLiteral("server nepředložil žádný certifikát");
            break;
        default:
            reason = QStringLiteral("chyba certifikátu serveru (%1)").arg(error.errorString());
            break;
        }
        if (!reason.isEmpty())
            break;
    }
    if (reason.isEmpty())
        reason = systemText;
    return QStringLiteral("500 Šifrované spojení se nepodařilo navázat: ") + reason;
}

void FtpClient::onReply(const FtpReply& reply) {
    switch (m_step) {
    case Step::Greeting:
    case Step::AuthTls:
    case Step::User:
    case Step::Pass:
    case Step::Pbsz:
    case Step::Prot:
        onConnectReply(reply);
        break;
    case Step::Simple:
        finish(m_accepted.contains(reply.code) ? QString() : replyText(reply));
        break;
    case Step::Epsv:
    case Step::Pasv:
    case Step::Port:
    case Step::Stor:
        onStoreReply(reply);
        break;
    case Step::Quit:
        if (reply.code == 221) {
            closeGracefully();
            finish(QString());
            emit closed();
        } else if (!m_cutTransfer) {
            const QString error = replyText(reply);
            connectionLost(error);
        }
        // Otherwise the reply belongs to the transfer that QUIT cut off.
        break;
    case Step::Handshake:
    case Step::None:
        break;
    }
}

void FtpClient::onConnectReply(const FtpReply& reply) {
    switch (m_step) {
    case Step::Greeting:
        if (reply.code >= 100 && reply.code < 200)
            return; // "120 ready in a minute": the greeting follows
        if (reply.code != 220) {
            connectionLost(replyText(reply));
            return;
        }
        setState(State::Connected);
        if (m_tls) {
            m_step = Step::AuthTls;
            sendCommand(QStringLiteral("AUTH TLS"));
        } else {
            login();
        }
        return;
    case Step::AuthTls:
        if (reply.code != 234) {
            // The password must not travel in clear text when encryption was asked for.
            connectionLost(QStringLiteral("500 Server neumožňuje šifrované spojení: ") + replyText(reply));
            return;
        }
        m_step = Step::Handshake;
        m_control->startClientEncryption();
        return;
    case Step::User:
        if (reply.code == 230) {
            afterLogin();
        } else if (reply.code == 331) {
            if (m_password.isEmpty()) {
                finish(QString()); // no password: the login ends here, without a message
                return;
            }
            m_step = Step::Pass;
            sendCommand(QStringLiteral("PASS ") + m_password);
        } else {
            finish(replyText(reply));
        }
        return;
    case Step::Pass:
        if (reply.code == 230)
            afterLogin();
        else
            finish(replyText(reply));
        return;
    case Step::Pbsz:
        if (reply.code != 200) {
            connectionLost(QStringLiteral("500 Server neumožňuje šifrovat přenášená data: ") +
                           replyText(reply));
            return;
        }
        m_step = Step::Prot;
        sendCommand(QStringLiteral("PROT P"));
        return;
    case Step::Prot:
        if (reply.code != 200) {
            connectionLost(QStringLiteral("500 Server neumožňuje šifrovat přenášená data: ") +
                           replyText(reply));
            return;
        }
        finish(QString());
        return;
    default:
        return;
    }
}

void FtpClient::controlEncrypted() {
    if (m_step != Step::Handshake)
        return;
    restartTimer();
    login();
}

void FtpClient::login() {
    if (m_user.isEmpty()) {
        finish(QString()); // no user name: connected, but not logged in
        return;
    }
    m_step = Step::User;
    sendCommand(QStringLiteral("USER ") + m_user);
}

void FtpClient::afterLogin() {
    if (!m_tls) {
        finish(QString());
        return;
    }
    m_step = Step::Pbsz;
    sendCommand(QStringLiteral("PBSZ 0"));
}

// --- simple requests -------------------------------------------------------------------------------

int FtpClient::changeDirectory(const QString& directory) {
    return simpleRequest(QStringLiteral("CWD ") + directory, {200, 250, 257});
}

int FtpClient::printDirectory() {
    return simpleRequest(QStringLiteral("PWD"), {250, 257});
}

int FtpClient::setBinaryType() {
    return simpleRequest(QStringLiteral("TYPE I"), {200});
}

int FtpClient::simpleRequest(const QString& command, QList<int> accepted) {
    if (isBusy())
        return failAtOnce(QStringLiteral("500 Předchozí požadavek ještě běží"));
    if (!isConnected())
        return failAtOnce(notConnectedError());
    const int request = begin();
    m_step = Step::Simple;
    m_accepted = std::move(accepted);
    sendCommand(command);
    return request;
}

// --- store -----------------------------------------------------------------------------------------

int FtpClient::store(const QString& localPath, const QString& remoteName) {
    if (isBusy())
        return failAtOnce(QStringLiteral("500 Předchozí požadavek ještě běží"));
    m_sent = 0;
    m_handed = 0;
    m_file.close();
    m_file.setFileName(localPath);
    if (!m_file.open(QIODevice::ReadOnly))
        return failAtOnce(QStringLiteral("426 Unable to open local file ") + localPath);
    if (!isConnected()) {
        m_file.close();
        return failAtOnce(notConnectedError());
    }
    const int request = begin();
    m_remoteName = remoteName;
    m_storAccepted = false;
    m_dataOpen = false;
    m_dataDone = false;
    if (m_passive) {
        m_step = m_epsvRefused ? Step::Pasv : Step::Epsv;
        sendCommand(m_epsvRefused ? QStringLiteral("PASV") : QStringLiteral("EPSV"));
        return request;
    }
    const QHostAddress local = plainAddress(m_control->localAddress());
    m_listener = new DataListener(this);
    if (!m_listener->listen(local, 0)) {
        finish(QStringLiteral("500 ") +
               socketErrorText(m_listener->serverError(), m_listener->errorString()));
        return request;
    }
    connect(m_listener, &QTcpServer::newConnection, this, &FtpClient::takeActiveData);
    const quint16 port = m_listener->serverPort();
    m_step = Step::Port;
    if (local.protocol() == QAbstractSocket::IPv4Protocol) {
        const quint32 a = local.toIPv4Address();
        sendCommand(QStringLiteral("PORT %1,%2,%3,%4,%5,%6")
                        .arg(a >> 24)
                        .arg((a >> 16) & 0xFF)
                        .arg((a >> 8) & 0xFF)
                        .arg(a & 0xFF)
                        .arg(port / 256)
                        .arg(port % 256));
    } else {
        // PORT cannot carry an IPv6 address; its extended form can.
        sendCommand(QStringLiteral("EPRT |2|%1|%2|").arg(local.toString()).arg(port));
    }
    return request;
}

void FtpClient::onStoreReply(const FtpReply& reply) {
    switch (m_step) {
    case Step::Port:
        if (reply.code == 200 || reply.code == 227)
            sendStor();
        else
            finish(replyText(reply));
        return;
    case Step::Epsv: {
        if (reply.code >= 500) {
            // Older servers know only PASV.
            m_epsvRefused = true;
            m_step = Step::Pasv;
            sendCommand(QStringLiteral("PASV"));
            return;
        }
        static const QRegularExpression epsv(QStringLiteral("\\((.)\\1\\1(\\d{1,5})\\1\\)"));
        const QRegularExpressionMatch match = epsv.match(reply.lastLine());
        const uint port = match.hasMatch() ? match.captured(2).toUInt() : 0;
        if (reply.code != 229 || port == 0 || port > 65535) {
            finish(replyText(reply));
            return;
        }
        openPassiveData(quint16(port));
        return;
    }
    case Step::Pasv: {
        static const QRegularExpression pasv(
            QStringLiteral("(\\d{1,3}),(\\d{1,3}),(\\d{1,3}),(\\d{1,3}),(\\d{1,3}),(\\d{1,3})"));
        const QRegularExpressionMatch match = pasv.match(reply.lastLine());
        const uint port =
            match.hasMatch() ? match.captured(5).toUInt() * 256 + match.captured(6).toUInt() : 0;
        if (reply.code != 227 || port == 0 || port > 65535) {
            finish(replyText(reply));
            return;
        }
        openPassiveData(quint16(port));
        return;
    }
    case Step::Stor:
        if (reply.code == 125 || reply.code == 150) {
            m_storAccepted = true;
            pump();
        } else if ((reply.code == 226 || reply.code == 250) && m_dataDone) {
            finish(QString());
        } else {
            finish(replyText(reply));
        }
        return;
    default:
        return;
    }
}

void FtpClient::sendStor() {
    m_step = Step::Stor;
    sendCommand(QStringLiteral("STOR ") + m_remoteName);
}

void FtpClient::openPassiveData(quint16 port) {
    // The data go to the server of the control connection, whatever address the reply names: a
    // server behind a router names its inner address, and a hostile one could name another host.
    m_data = new QSslSocket(this);
    configureTls(*m_data);
    if (m_tls)
        m_data->setSslConfiguration(m_control->sslConfiguration());
    connect(m_data, &QSslSocket::connected, this, [this] {
        if (m_tls)
            m_data->startClientEncryption();
        else
            dataReady();
    });
    connect(m_data, &QSslSocket::encrypted, this, &FtpClient::dataReady);
    connect(m_data, &QSslSocket::errorOccurred, this,
            [this](QAbstractSocket::SocketError error) { dataFailed(error); });
    connect(m_data, qOverload<const QList<QSslError>&>(&QSslSocket::sslErrors), this,
            [this](const QList<QSslError>& errors) { m_sslErrors = errors; });
    connect(m_data, &QSslSocket::bytesWritten, this, &FtpClient::pump);
    connect(m_data, &QSslSocket::encryptedBytesWritten, this, &FtpClient::pump);
    m_data->connectToHost(m_control->peerAddress(), port);
    sendStor();
}

void FtpClient::takeActiveData() {
    if (!m_listener)
        return;
    const QHostAddress server = plainAddress(m_control->peerAddress());
    while (m_listener->hasPendingConnections()) {
        auto* socket = static_cast<QSslSocket*>(m_listener->nextPendingConnection());
        // Only the server may deliver the data connection.
        if (m_data || plainAddress(socket->peerAddress()) != server) {
            socket->abort();
            socket->deleteLater();
            continue;
        }
        m_data = socket;
        m_data->setParent(this);
        if (m_tls) {
            m_data->setSslConfiguration(m_control->sslConfiguration());
            m_data->setPeerVerifyName(m_host);
        }
        connect(m_data, &QSslSocket::encrypted, this, &FtpClient::dataReady);
        connect(m_data, &QSslSocket::errorOccurred, this,
                [this](QAbstractSocket::SocketError error) { dataFailed(error); });
        connect(m_data, qOverload<const QList<QSslError>&>(&QSslSocket::sslErrors), this,
                [this](const QList<QSslError>& errors) { m_sslErrors = errors; });
        connect(m_data, &QSslSocket::bytesWritten, this, &FtpClient::pump);
        connect(m_data, &QSslSocket::encryptedBytesWritten, this, &FtpClient::pump);
        if (m_tls)
            m_data->startClientEncryption();
        else
            dataReady();
    }
    if (m_data)
        m_listener->close();
}

void FtpClient::dataReady() {
    // The last short segment of a file would otherwise wait for the server's delayed acknowledgement.
    m_data->setSocketOption(QAbstractSocket::LowDelayOption, 1);
    m_dataOpen = true;
    restartTimer();
    pump();
}

void FtpClient::dataFailed(int socketError) {
    if (!m_data || m_current == 0)
        return;
    if (m_dataDone)
        return; // the data connection ends after the last byte; the server's reply says the rest
    if (m_dataOpen && socketError != QAbstractSocket::SslHandshakeFailedError) {
        // Cut off mid-transfer: the server's reply on the control connection tells why, or time runs out.
        m_dataOpen = false;
        return;
    }
    // No data connection came about, while the server still owes its answer to STOR: the replies
    // would no longer match the commands, so the control connection goes as well.
    connectionLost(socketError == QAbstractSocket::SslHandshakeFailedError
                       ? tlsFailure(m_data->errorString())
                       : QStringLiteral("500 ") + socketErrorText(socketError, m_data->errorString()));
}

void FtpClient::pump() {
    if (!m_data || !m_dataOpen || !m_storAccepted || m_dataDone)
        return;
    const qint64 sent = m_handed - m_data->bytesToWrite();
    if (sent != m_sent) {
        m_sent = sent;
        restartTimer();
        emit progress(m_sent);
    }
    while (m_data->bytesToWrite() < BufferedLimit && !m_file.atEnd()) {
        const QByteArray chunk = m_file.read(ChunkSize);
        if (chunk.isEmpty())
            break;
        m_handed += m_data->write(chunk);
    }
    if (m_file.atEnd() && m_data->bytesToWrite() == 0) {
        m_dataDone = true;
        m_data->disconnectFromHost();
    }
}

void FtpClient::releaseData() {
    if (m_listener) {
        m_listener->close();
        m_listener->deleteLater();
        m_listener = nullptr;
    }
    if (m_data) {
        QSslSocket* data = m_data;
        m_data = nullptr;
        QObject::disconnect(data, nullptr, this, nullptr);
        if (m_dataDone && data->state() == QAbstractSocket::ClosingState) {
            // Let the last bytes leave; the socket goes once it has closed.
            connect(data, &QSslSocket::disconnected, data, &QObject::deleteLater);
            data->setParent(nullptr);
            QTimer::singleShot(m_timeoutMs, data, [data] {
                data->abort();
                data->deleteLater();
            });
        } else {
            data->abort();
            data->deleteLater();
        }
    }
    m_dataOpen = false;
}

// --- quit, abort, timeout --------------------------------------------------------------------------

int FtpClient::quit() {
    if (!isConnected()) {
        if (!isBusy() && m_control)
            releaseControl(); // still looking up or connecting: nothing to say goodbye to
        if (isBusy()) {
            const bool wasOpen = m_controlOpen;
            releaseControl();
            finish(QStringLiteral("426 Operation aborted."));
            if (wasOpen)
                emit closed();
        }
        return failAtOnce(QString());
    }
    bool cut = false;
    if (isBusy()) {
        finish(QStringLiteral("426 Operation aborted."));
        cut = true;
    }
    const int request = begin();
    m_cutTransfer = cut;
    m_step = Step::Quit;
    sendCommand(QStringLiteral("QUIT"));
    return request;
}

void FtpClient::quitAndClose() {
    if (!m_control && !isBusy())
        return;
    const bool wasOpen = m_controlOpen;
    // Mid-handshake nothing can be said in either clear or encrypted text.
    if (wasOpen && m_step != Step::Handshake) {
        m_control->write("QUIT\r\n");
        closeGracefully();
    } else {
        releaseControl();
    }
    endBrokenOff(wasOpen);
}

void FtpClient::abort() {
    if (!m_control && !isBusy())
        return;
    setState(State::Aborting);
    const bool wasOpen = m_controlOpen;
    releaseControl();
    endBrokenOff(wasOpen);
}

void FtpClient::endBrokenOff(bool wasOpen) {
    if (isBusy())
        finish(QStringLiteral("426 Operation aborted."));
    setState(State::Ready);
    if (wasOpen)
        emit closed();
}

void FtpClient::timedOut() {
    m_timer->setEnabled(false);
    if (!isBusy())
        return;
    connectionLost(QStringLiteral("426 Timeout"));
}
