#pragma once

#include <QProcess>
#include <QString>
#include <QTemporaryDir>

// A real MQTT broker (Debian's mosquitto) on 127.0.0.1 at a free port, keeping its sessions and
// queued messages on disk across a stop and a start, as a broker of a track's network would.
// Stopped with the object.
class MosquittoBroker {
public:
    // Without anonymous, the broker refuses every login (none is configured). With tls, it speaks
    // only TLS, with a throw-away certificate of a throw-away authority that no system trusts (made
    // by the FTP test server's script, which needs python3-openssl).
    explicit MosquittoBroker(bool anonymous = true, bool tls = false);
    ~MosquittoBroker();
    MosquittoBroker(const MosquittoBroker&) = delete;
    MosquittoBroker& operator=(const MosquittoBroker&) = delete;

    // The broker's program; empty when it is not installed.
    static QString program();

    // Starts the broker (on the same port as before, after a stop) and waits until it takes
    // connections; false with the reason otherwise.
    bool start(QString* why);
    // Ends it as a shutdown does: it stores its sessions and closes every connection.
    void stop();
    quint16 port() const { return m_port; }

private:
    QTemporaryDir m_dir;
    QProcess m_process;
    quint16 m_port = 0;
    bool m_anonymous;
    bool m_tls;
};
