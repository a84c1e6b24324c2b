#include "PyFtpServer.h"

#include <QDeadlineTimer>
#include <QTcpSocket>

PyFtpServer::PyFtpServer(bool tls) : m_tls(tls) {}

PyFtpServer::~PyFtpServer() {
    if (m_process.state() != QProcess::NotRunning) {
        m_process.kill();
        m_process.waitForFinished(10000);
    }
}

bool PyFtpServer::start(QString* why) {
    QStringList arguments = {QStringLiteral(TARVOLIN_SOURCE_DIR "/tests/support/ftp_server.py"),
                             QStringLiteral("--root"),
                             m_root.path(),
                             QStringLiteral("--user"),
                             QString::fromLatin1(User),
                             QStringLiteral("--password"),
                             QString::fromUtf8(Password)};
    if (m_tls)
        arguments << QStringLiteral("--tls-dir") << m_tlsDir.path();
    m_process.setProcessChannelMode(QProcess::SeparateChannels);
    m_process.start(QStringLiteral("/usr/bin/python3"), arguments);
    if (!m_process.waitForStarted(30000)) {
        *why = QStringLiteral("/usr/bin/python3 did not start: ") + m_process.errorString();
        return false;
    }
    // The server names its port once it listens; a busy machine may take a while to get there.
    const QDeadlineTimer deadline(60000);
    while (m_port == 0 && !deadline.hasExpired()) {
        if (!m_process.waitForReadyRead(int(qMin<qint64>(deadline.remainingTime(), 1000))) &&
            m_process.state() == QProcess::NotRunning)
            break;
        readOutput();
    }
    if (m_port == 0) {
        *why = QStringLiteral("the FTP server did not start (python3-pyftpdlib and python3-openssl "
                              "needed): ") +
               QString::fromLocal8Bit(m_process.readAllStandardError());
        return false;
    }
    // Taking connections is what counts, so the port itself is asked.
    while (!deadline.hasExpired()) {
        QTcpSocket probe;
        probe.connectToHost(QStringLiteral("127.0.0.1"), m_port);
        if (probe.waitForConnected(1000)) {
            probe.abort();
            return true;
        }
    }
    *why = QStringLiteral("the FTP server does not take connections");
    return false;
}

void PyFtpServer::readOutput() {
    m_output += m_process.readAllStandardOutput();
    int end;
    while ((end = m_output.indexOf('\n')) >= 0) {
        const QString line = QString::fromUtf8(m_output.left(end)).trimmed();
        m_output.remove(0, end + 1);
        if (line.startsWith(QLatin1String("port ")))
            m_port = quint16(line.mid(5).toUInt());
        else if (line.startsWith(QLatin1String("received ")))
            m_received << line.mid(9);
    }
}

QStringList PyFtpServer::received() {
    readOutput();
    return m_received;
}

QList<QSslCertificate> PyFtpServer::caCertificates() const {
    return QSslCertificate::fromPath(m_tlsDir.path() + QStringLiteral("/ca.pem"));
}
