#pragma once

#include <functional>

#include <QByteArray>
#include <QProcess>
#include <QString>
#include <QTemporaryDir>

// A connected pair of pseudo-terminals made by socat, standing in for a serial cable: the program
// opens end A as its serial port, the test plays the device on end B. Each pair lives in its own
// temporary folder, so parallel test runs do not meet.
class SocatPtyPair {
public:
    SocatPtyPair();
    ~SocatPtyPair();

    static bool socatAvailable();

    // Starts socat and waits for both ends; false (with the reason) if that fails.
    bool start(QString* why = nullptr);
    // Ends socat, so that the far side of end A hangs up.
    void stop();

    QString portA() const { return m_dir.filePath(QStringLiteral("ttyA")); }
    QString portB() const { return m_dir.filePath(QStringLiteral("ttyB")); }
    QString dir() const { return m_dir.path(); }

    // Sends bytes as the device does, in one write on end B.
    bool send(const QByteArray& bytes);

    // Keeps a handle on end A that reads nothing, so that the test can see what waits there to be
    // read. Take it before the program opens end A: an open port refuses further handles.
    bool watchPortA();
    // Bytes that wait at end A, unread by anyone; -1 without a watch.
    int bytesWaitingAtA() const;
    // Waits, without running the event loop, until at least count bytes wait at end A.
    bool waitForBytesAtA(int count, int timeoutMs = 10000) const;
    // Polls condition without running the caller's event loop, as a main thread held by the start
    // lights would.
    static bool waitFor(const std::function<bool()>& condition, int timeoutMs = 10000);

private:
    QTemporaryDir m_dir;
    QProcess m_socat;
    int m_deviceFd = -1;
    int m_watchFd = -1;
};
