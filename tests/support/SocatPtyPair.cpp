#include "SocatPtyPair.h"

#include "ProcessEnd.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QStandardPaths>
#include <QThread>

#include <cerrno>
#include <fcntl.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

SocatPtyPair::SocatPtyPair() = default;

SocatPtyPair::~SocatPtyPair() {
    stop();
}

bool SocatPtyPair::socatAvailable() {
    return !QStandardPaths::findExecutable(QStringLiteral("socat")).isEmpty();
}

bool SocatPtyPair::start(QString* why) {
    auto fail = [why](const QString& reason) {
        if (why)
            *why = reason;
        return false;
    };
    if (!socatAvailable())
        return fail(QStringLiteral("socat is not installed"));
    if (!m_dir.isValid())
        return fail(QStringLiteral("no temporary folder"));
    m_socat.setProgram(QStandardPaths::findExecutable(QStringLiteral("socat")));
    m_socat.setArguments(
        {QStringLiteral("pty,raw,echo=0,link=") + portA(), QStringLiteral("pty,raw,echo=0,link=") + portB()});
    m_socat.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    m_socat.start();
    if (!m_socat.waitForStarted(5000))
        return fail(QStringLiteral("socat did not start"));
    const QDeadlineTimer deadline(10000);
    while (!(QFile::exists(portA()) && QFile::exists(portB()))) {
        if (deadline.hasExpired() || m_socat.state() != QProcess::Running)
            return fail(QStringLiteral("socat made no terminals"));
        QThread::msleep(10);
    }
    m_deviceFd = ::open(QFile::encodeName(portB()).constData(), O_RDWR | O_NOCTTY);
    if (m_deviceFd < 0)
        return fail(QStringLiteral("cannot open end B"));
    return true;
}

void SocatPtyPair::stop() {
    if (m_watchFd >= 0) {
        ::close(m_watchFd);
        m_watchFd = -1;
    }
    if (m_deviceFd >= 0) {
        ::close(m_deviceFd);
        m_deviceFd = -1;
    }
    endProcess(m_socat, 5000);
}

bool SocatPtyPair::send(const QByteArray& bytes) {
    if (m_deviceFd < 0)
        return false;
    qsizetype done = 0;
    while (done < bytes.size()) {
        const ssize_t n =
            ::write(m_deviceFd, bytes.constData() + done, static_cast<size_t>(bytes.size() - done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        done += n;
    }
    ::tcdrain(m_deviceFd);
    return true;
}

bool SocatPtyPair::watchPortA() {
    if (m_watchFd < 0)
        m_watchFd = ::open(QFile::encodeName(portA()).constData(), O_RDWR | O_NOCTTY | O_NONBLOCK);
    return m_watchFd >= 0;
}

int SocatPtyPair::bytesWaitingAtA() const {
    int waiting = 0;
    if (m_watchFd < 0 || ::ioctl(m_watchFd, FIONREAD, &waiting) != 0)
        return -1;
    return waiting;
}

bool SocatPtyPair::waitForBytesAtA(int count, int timeoutMs) const {
    return m_watchFd >= 0 && waitFor([&] { return bytesWaitingAtA() >= count; }, timeoutMs);
}

bool SocatPtyPair::waitFor(const std::function<bool()>& condition, int timeoutMs) {
    const QDeadlineTimer deadline(timeoutMs);
    while (!condition()) {
        if (deadline.hasExpired())
            return false;
        QThread::msleep(1);
    }
    return true;
}
