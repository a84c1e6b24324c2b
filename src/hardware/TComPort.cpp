#include "hardware/TComPort.h"

#include "base/ErrorBoundary.h"
#include "base/UserError.h"
#include "config/SerialValueLists.h"
#include "hardware/SerialLineValues.h"
#include "platform/SerialDeviceError.h"

#include <QSerialPortInfo>

#include <algorithm>
#include <limits>

TComPort::TComPort(QObject* parent) : QObject(parent) {
    applyLine();
    // Both hand on to listeners of rxChar, beforeClose and openedChanged.
    connect(&m_port, &QSerialPort::readyRead, this, ErrorBoundary::guardedSlot(this, &TComPort::onReadyRead));
    connect(&m_port, &QSerialPort::errorOccurred, this,
            ErrorBoundary::guardedSlot(this, &TComPort::onErrorOccurred));
}

TComPort::~TComPort() {
    // The owners close the port themselves at program end; here only the device is let go, without
    // notifying listeners that may already be gone.
    if (m_port.isOpen())
        m_port.close();
}

void TComPort::open() {
    if (m_port.isOpen())
        return;
    m_port.setPortName(m_parameters.Port);
    applyLine();
    if (!m_port.open(QIODevice::ReadWrite))
        throwPortError(QStringLiteral("Unable to open com port"));
    // A terminal keeps what its device sent while the port was closed; none of that is a pass now.
    m_port.clear(QSerialPort::Input);
    m_port.clearError();
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
    if (!m_port.isOpen() || m_closing)
        return;
    m_closing = true;
    emit beforeClose();
    m_port.close();
    m_port.clearError();
    m_closing = false;
    emit openedChanged(false);
}

void TComPort::discardReceived() {
    if (m_port.isOpen()) {
        m_port.clear(QSerialPort::Input);
        m_port.clearError();
    }
    emit receivedDiscarded();
}

void TComPort::setParameters(const SerialParameters& parameters) {
    const SerialParameters next = SerialValueLists::normalized(parameters);
    if (next == m_parameters)
        return;
    const bool portChanged = next.Port != m_parameters.Port;
    m_parameters = next;
    if (!m_port.isOpen()) {
        m_port.setPortName(m_parameters.Port);
        applyLine();
        return;
    }
    if (portChanged) {
        close();
        open();
        return;
    }
    if (!applyLine())
        throwPortError(QStringLiteral("Unable to set com state"));
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
    if (m_port.isOpen() && !m_port.setRequestToSend(on))
        m_port.clearError();
}

void TComPort::setDtr(bool on) {
    if (m_port.isOpen() && !m_port.setDataTerminalReady(on))
        m_port.clearError();
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

void TComPort::onReadyRead() {
    const qint64 waiting = m_port.bytesAvailable();
    if (waiting > 0)
        emit rxChar(static_cast<int>(std::min<qint64>(waiting, std::numeric_limits<int>::max())));
}

void TComPort::onErrorOccurred(QSerialPort::SerialPortError error) {
    // A device that went away (an unplugged adapter, a hung-up terminal) never delivers again.
    // Closing it lets it be opened afresh when it is back, instead of waiting on a dead handle that
    // still looks open.
    const bool gone = error == QSerialPort::ResourceError || error == QSerialPort::ReadError;
    // The close below reports failures of its own (the handshake lines of a device that is gone).
    if (!gone || !m_port.isOpen() || m_closing)
        return;
    close();
    m_lost = true;
    emit deviceLost();
}

bool TComPort::applyLine() {
    bool ok = m_port.setBaudRate(SerialLineValues::effectiveBaudRate(m_parameters));
    ok = m_port.setDataBits(SerialLineValues::toDataBits(m_parameters.DataBits)) && ok;
    ok = m_port.setParity(SerialLineValues::toParity(m_parameters.Parity)) && ok;
    ok = m_port.setStopBits(SerialLineValues::toStopBits(m_parameters.StopBits)) && ok;
    ok = m_port.setFlowControl(SerialLineValues::toFlowControl(m_parameters.FlowControl)) && ok;
    return ok;
}

void TComPort::throwPortError(const QString& text) {
    const int code = serialDeviceErrorNumber(systemLocation(), m_port.error());
    m_port.clearError();
    throw UserError(text + QStringLiteral(" (win error code: %1)").arg(code));
}
