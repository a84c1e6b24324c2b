#include "MosquittoBroker.h"

#include "ProcessEnd.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QStandardPaths>
#include <QTcpServer>
#include <QTcpSocket>
#include <QThread>

MosquittoBroker::MosquittoBroker(bool anonymous, bool tls) : m_anonymous(anonymous), m_tls(tls) {
    QTcpServer probe;
    if (probe.listen(QHostAddress::LocalHost, 0))
        m_port = probe.serverPort();
}

MosquittoBroker::~MosquittoBroker() {
    stop();
}

QString MosquittoBroker::program() {
    return QStandardPaths::findExecutable(QStringLiteral("mosquitto"),
                                          {QStringLiteral("/usr/sbin"), QStringLiteral("/usr/bin")});
}

bool MosquittoBroker::start(QString* why) {
    const QString configPath = m_dir.filePath(QStringLiteral("mosquitto.conf"));
    QFile config(configPath);
    if (!m_dir.isValid() || m_port == 0 || !config.open(QIODevice::WriteOnly)) {
        *why = QStringLiteral("no folder or port for the broker");
        return false;
    }
    // "user root" keeps a broker started by root from switching to a user that cannot write here.
    config.write(QStringLiteral("listener %1 127.0.0.1\nallow_anonymous %2\npersistence true\n"
                                "persistence_location %3/\nuser root\nmax_queued_messages 0\n")
                     .arg(m_port)
                     .arg(m_anonymous ? QStringLiteral("true") : QStringLiteral("false"))
                     .arg(m_dir.path())
                     .toUtf8());
    if (m_tls) {
        const QString pem = m_dir.filePath(QStringLiteral("server.pem"));
        QProcess maker;
        maker.start(QStringLiteral("/usr/bin/python3"),
                    {QStringLiteral("-c"),
                     QStringLiteral("import sys; sys.path.insert(0, sys.argv[1]); import ftp_server; "
                                    "ftp_server.make_certificates(sys.argv[2])"),
                     QStringLiteral(TARVOLIN_SOURCE_DIR "/tests/support"), m_dir.path()});
        if (!maker.waitForFinished(60000) || maker.exitCode() != 0 || !QFile::exists(pem)) {
            *why = QStringLiteral("no certificate for the broker (python3-openssl): ") +
                   QString::fromLocal8Bit(maker.readAllStandardError());
            return false;
        }
        config.write(QStringLiteral("certfile %1\nkeyfile %1\n").arg(pem).toUtf8());
    }
    config.close();
    m_process.setProcessChannelMode(QProcess::MergedChannels);
    m_process.start(program(), {QStringLiteral("-c"), configPath});
    if (!m_process.waitForStarted(10000)) {
        *why = QStringLiteral("mosquitto did not start: ") + m_process.errorString();
        return false;
    }
    const QDeadlineTimer deadline(20000);
    while (!deadline.hasExpired()) {
        QTcpSocket socket;
        socket.connectToHost(QHostAddress::LocalHost, m_port);
        if (socket.waitForConnected(500))
            return true;
        if (m_process.state() == QProcess::NotRunning)
            break;
        QThread::msleep(20);
    }
    *why =
        QStringLiteral("mosquitto does not take connections: ") + QString::fromLocal8Bit(m_process.readAll());
    return false;
}

void MosquittoBroker::stop() {
    endProcess(m_process, 20000);
}
