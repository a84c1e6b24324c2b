#pragma once

#include "config/SerialParameters.h"
#include "hardware/SerialSensorPort.h"

#include <QObject>
#include <QSerialPort>
#include <QStringList>
#include <QThread>

#include <functional>

class MonotonicClock;
class SerialReceiver;

// The serial port object ComPort1: a receive-only line whose parameters come from the section
// "ComPort1". Received data is announced on the main thread, one event at a time (rxChar), with the
// instant it arrived, taken by the receiver's own thread; the owner reacts to afterOpen / beforeClose
// to drive the handshake lines. Used from the main thread only.
class TComPort : public QObject, public SerialSensorPort {
    Q_OBJECT

public:
    // The clock stamps each arrival; the system's steady clock when null.
    explicit TComPort(MonotonicClock* clock = nullptr, QObject* parent = nullptr);
    ~TComPort() override;

    bool isOpen() const override { return m_open; }
    // The device went away while the port was open, and neither an open nor a close has been asked
    // for since.
    bool lost() const { return m_lost; }
    // Throws UserError "Unable to open com port (win error code: N)" with the system's error number.
    void open() override;
    void close() override;
    // Drops what waits in the system's and the port's receive buffers; receivedDiscarded tells the
    // listeners to drop what they hold.
    void discardReceived() override;
    // Safe from any thread.
    void noticeWaiting(qint64 sampleUs) override;

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

    // Takes up to count of the received bytes that the last rxChar announced.
    QByteArray read(qint64 count);
    // When the bytes of the last rxChar arrived.
    qint64 lastArrivalUs() const { return m_lastArrivalUs; }
    // Every byte read from the device so far, also those still on their way to rxChar or dropped
    // by a discard since.
    quint64 bytesArrived() const;

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
    // Runs action on the receiver's thread with its device, and returns once it has run.
    void onDevice(const std::function<void(QSerialPort&)>& action);
    void setHandshakeLine(bool (QSerialPort::*set)(bool), bool on);
    void onReceived(const QByteArray& bytes, qint64 arrivalUs, quint64 generation);
    void onLost(quint64 generation);
    static bool applyLine(QSerialPort& port, const SerialParameters& parameters);
    [[noreturn]] void throwPortError(const QString& text, QSerialPort::SerialPortError error);

    QThread m_thread;
    SerialReceiver* m_receiver; // lives on m_thread, which deletes it
    SerialParameters m_parameters;
    // The receiver's generation after the last open, close or discard: older bytes are dropped.
    quint64 m_generation = 0;
    quint64 m_openGeneration = 0;
    QByteArray m_inbox;
    qint64 m_lastArrivalUs = 0;
    bool m_open = false;
    bool m_closing = false;
    bool m_lost = false;
};
