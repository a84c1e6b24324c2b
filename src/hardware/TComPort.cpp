#include "hardware/TComPort.h"

#include "base/ErrorBoundary.h"
#include "base/MonotonicClock.h"
#include "base/UserError.h"
#include "config/SerialValueLists.h"
#include "hardware/SerialLineValues.h"
#include "hardware/SerialReceiver.h"
#include "platform/SerialDeviceError.h"

#include <QSerialPortInfo>

#include <algorithm>
#include <cerrno>

namespace {

// What the main thread holds for its listeners if none of them reads: a sensor line's bursts are a
// few bytes, so this is only ever reached by a line that sends without pause to nobody.
constexpr qsizetype MaxWaiting = 1 << 20;

// The system's error number that a port error class stands for, when the device itself is usable.
int errorNumberOf(QSerialPort::SerialPortError error) {
    switch (error) {
    case QSerialPort::NoError:
        return 0;
    case QSerialPort::DeviceNotFoundError:
        return ENOENT;
    case QSerialPort::PermissionError: // present and accessible, so held by another program
    case QSerialPort::OpenError:
        return EBUSY;
    case QSerialPort::UnsupportedOperationError:
        return EINVAL;
    default:
        return EIO;
    }
}

} // namespace

TComPort::TComPort(MonotonicClock* clock, QObject* parent)
    : QObject(parent), m_receiver(new SerialReceiver(clock ? *clock : SteadyClock::instance())) {
    m_thread.setObjectName(QStringLiteral("SerialReceiver"));
    m_receiver->moveToThread(&m_thread);
    connect(&m_thread, &QThread::started, m_receiver, &SerialReceiver::prepareThread, Qt::DirectConnection);
    connect(&m_thread, &QThread::finished, m_receiver, &QObject::deleteLater);
    // Both hand on to listeners of rxChar, beforeClose and openedChanged.
    connect(m_receiver, &SerialReceiver::received, this,
            ErrorBoundary::guardedSlot(this, &TComPort::onReceived));
    connect(m_receiver, &SerialReceiver::lost, this, ErrorBoundary::guardedSlot(this, &TComPort::onLost));
    m_thread.start();
    onDevice([this](QSerialPort& port) { applyLine(port, m_parameters); });
}

TComPort::~TComPort() {
    // The owners close the port themselves at program end; here only the device is let go, without
    // notifying listeners that may already be gone.
    onDevice([this](QSerialPort& port) {
        m_receiver->watch(-1);
        if (port.isOpen())
            port.close();
    });
    m_thread.quit();
    m_thread.wait();
}

void TComPort::onDevice(const std::function<void(QSerialPort&)>& action) {
    QMetaObject::invokeMethod(
        m_receiver, [this, &action] { action(m_receiver->port()); }, Qt::BlockingQueuedConnection);
}

void TComPort::open() {
    if (m_open)
        return;
    QSerialPort::SerialPortError error = QSerialPort::NoError;
    onDevice([&](QSerialPort& port) {
        port.setPortName(m_parameters.Port);
        applyLine(port, m_parameters);
        if (port.open(QIODevice::ReadWrite)) {
            // A terminal keeps what its device sent while the port was closed; none of that is a
            // pass now.
            port.clear(QSerialPort::Input);
            m_receiver->watch(int(port.handle()));
        } else {
            error = port.error();
        }
        port.clearError();
        m_generation = m_receiver->nextGeneration();
    });
    if (error != QSerialPort::NoError)
        throwPortError(QStringLiteral("Unable to open com port"), error);
    m_open = true;
    m_openGeneration = m_generation;
    m_inbox.clear();
    m_lost = false;
    // The lines start low; the after-open handler raises what the settings ask for.
    setRts(false);
    setDtr(false);
    emit afterOpen();
    emit openedChanged(true);
}

void TComPort::close() {
    // Whoever closes the port wants it closed, also one whose device is gone.
    m_lost = false;
    // The before-close handler's requests may fail on a device that went away and report that
    // failure, which must not start a second close.
    if (!m_open || m_closing)
        return;
    m_closing = true;
    emit beforeClose();
    onDevice([this](QSerialPort& port) {
        m_receiver->watch(-1);
        port.close();
        port.clearError();
        m_generation = m_receiver->nextGeneration();
    });
    m_open = false;
    m_inbox.clear();
    m_closing = false;
    emit openedChanged(false);
}

void TComPort::discardReceived() {
    if (m_open) {
        onDevice([this](QSerialPort& port) {
            port.clear(QSerialPort::Input);
            port.clearError();
            m_generation = m_receiver->nextGeneration();
        });
    }
    m_inbox.clear();
    emit receivedDiscarded();
}

void TComPort::setParameters(const SerialParameters& parameters) {
    const SerialParameters next = SerialValueLists::normalized(parameters);
    if (next == m_parameters)
        return;
    const bool portChanged = next.Port != m_parameters.Port;
    m_parameters = next;
    if (!m_open) {
        onDevice([this](QSerialPort& port) {
            port.setPortName(m_parameters.Port);
            applyLine(port, m_parameters);
        });
        return;
    }
    if (portChanged) {
        close();
        open();
        return;
    }
    QSerialPort::SerialPortError error = QSerialPort::NoError;
    onDevice([&](QSerialPort& port) {
        if (!applyLine(port, m_parameters))
            error = port.error();
        port.clearError();
    });
    if (error != QSerialPort::NoError)
        throwPortError(QStringLiteral("Unable to set com state"), error);
}

QString TComPort::systemLocation() const {
    const QString& name = m_parameters.Port;
#ifdef Q_OS_UNIX
    if (name.startsWith(QLatin1Char('/')) || name.startsWith(QStringLiteral("./")) ||
        name.startsWith(QStringLiteral("../")))
        return name;
    return QStringLiteral("/dev/") + name;
#else
    return QSerialPortInfo(name).systemLocation();
#endif
}

void TComPort::setRts(bool on) {
    setHandshakeLine(&QSerialPort::setRequestToSend, on);
}

void TComPort::setDtr(bool on) {
    setHandshakeLine(&QSerialPort::setDataTerminalReady, on);
}

void TComPort::setHandshakeLine(bool (QSerialPort::*set)(bool), bool on) {
    if (!m_open)
        return;
    onDevice([set, on](QSerialPort& port) {
        if (port.isOpen() && !(port.*set)(on))
            port.clearError();
    });
}

void TComPort::noticeWaiting(qint64 sampleUs) {
    m_receiver->noticeWaiting(sampleUs);
}

quint64 TComPort::bytesArrived() const {
    return m_receiver->bytesArrived();
}

QByteArray TComPort::read(qint64 count) {
    const QByteArray taken = m_inbox.left(count);
    m_inbox.remove(0, taken.size());
    return taken;
}

QStringList TComPort::availablePortNames() {
    QStringList names;
    const auto ports = QSerialPortInfo::availablePorts();
    for (const QSerialPortInfo& info : ports)
        names.append(info.portName());
    std::sort(names.begin(), names.end());
    names.erase(std::unique(names.begin(), names.end()), names.end());
    return names;
}

void TComPort::onReceived(const QByteArray& bytes, qint64 arrivalUs, quint64 generation) {
    // Bytes read before the last open, close or discard were on their way when it happened.
    if (generation != m_generation || !m_open)
        return;
    if (m_inbox.size() + bytes.size() > MaxWaiting)
        m_inbox.clear();
    m_inbox.append(bytes);
    m_lastArrivalUs = arrivalUs;
    emit rxChar(int(m_inbox.size()));
}

void TComPort::onLost(quint64 generation) {
    // A close since then has dealt with it, and a reopen has a device that is back.
    if (!m_open || m_closing || generation < m_openGeneration)
        return;
    close();
    m_lost = true;
    emit deviceLost();
}

bool TComPort::applyLine(QSerialPort& port, const SerialParameters& parameters) {
    bool ok = port.setBaudRate(SerialLineValues::effectiveBaudRate(parameters));
    ok = port.setDataBits(SerialLineValues::toDataBits(parameters.DataBits)) && ok;
    ok = port.setParity(SerialLineValues::toParity(parameters.Parity)) && ok;
    ok = port.setStopBits(SerialLineValues::toStopBits(parameters.StopBits)) && ok;
    ok = port.setFlowControl(SerialLineValues::toFlowControl(parameters.FlowControl)) && ok;
    return ok;
}

void TComPort::throwPortError(const QString& text, QSerialPort::SerialPortError error) {
    const int accessError = serialDeviceAccessError(systemLocation());
    const int code = accessError != 0 ? accessError : errorNumberOf(error);
    throw UserError(text + QStringLiteral(" (win error code: %1)").arg(code));
}
