#pragma once

#include "config/SerialParameters.h"
#include "hardware/SerialSensorPort.h"

#include <QObject>
#include <QSerialPort>
#include <QStringList>

// The serial port object ComPort1: a receive-only line whose parameters come from the section
// "ComPort1". Received data is announced on the main thread, one event at a time (rxChar); the owner
// reacts to afterOpen / beforeClose to drive the handshake lines.
class TComPort : public QObject, public SerialSensorPort {
    Q_OBJECT

public:
    explicit TComPort(QObject* parent = nullptr);
    ~TComPort() override;

    bool isOpen() const override { return m_port.isOpen(); }
    // The device went away while the port was open, and neither an open nor a close has been asked
    // for since.
    bool lost() const { return m_lost; }
    // Throws UserError "Unable to open com port (win error code: N)" with the system's error number.
    void open() override;
    void close() override;
    // Drops what waits in the system's and the port's receive buffers; receivedDiscarded tells the
    // listeners to drop what they hold.
    void discardReceived() override;

    const SerialParameters& parameters() const { return m_parameters; }
    // Applies every value at once. Values are matched against their lists (unknown ones fall back).
    // While open, the line changes at once; a new port name closes and reopens the port. Throws
    // UserError when the open device refuses the new values or the reopen fails.
    void setParameters(const SerialParameters& parameters);

    // The device the port name stands for: a bare name ("ttyUSB0") lives in /dev, a path is itself.
    QString systemLocation() const;

    // Handshake lines. A device without them (a pseudo-terminal) ignores the request.
    void setRts(bool on);
    void setDtr(bool on);

    QByteArray read(qint64 count) { return m_port.read(count); }

    // The port names the system offers, sorted.
    static QStringList availablePortNames();

signals:
    void afterOpen();
    void beforeClose();
    void rxChar(int count);
    void receivedDiscarded();
    void openedChanged(bool open);
    // The device went away; the port has been closed.
    void deviceLost();

private:
    void onReadyRead();
    void onErrorOccurred(QSerialPort::SerialPortError error);
    bool applyLine();
    [[noreturn]] void throwPortError(const QString& text);

    QSerialPort m_port;
    SerialParameters m_parameters;
    bool m_closing = false;
    bool m_lost = false;
};
