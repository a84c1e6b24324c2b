#pragma once

#include <QObject>
#include <QString>

#include <functional>

class ITimer;
class TComPort;

// Brings the serial port back after its device went away (an unplugged USB adapter) while a race
// times the karts by it: the poll timer tries to open the port every PollMs until the device is back,
// the race stops, or someone else opens or closes the port. The race goes on meanwhile; its serial
// karts only have no hits until the port is open again.
class SerialPortRecovery : public QObject {
    Q_OBJECT

public:
    static constexpr quint32 PollMs = 250;

    // needed: whether the port should be open now (a running race with serial sensors).
    SerialPortRecovery(TComPort& port, ITimer& pollTimer, std::function<bool()> needed,
                       QObject* parent = nullptr);
    ~SerialPortRecovery() override;

    bool polling() const;

signals:
    // The device of port went away. reopening: the port is opened again once the device is back.
    // Said again with reopening false when the poll gives up.
    void lost(const QString& port, bool reopening);
    // The poll opened the port again.
    void restored(const QString& port);

private:
    void onDeviceLost();
    void poll();

    TComPort& m_port;
    ITimer& m_pollTimer;
    std::function<bool()> m_needed;
};
