#include "hardware/SerialLineValues.h"

namespace SerialLineValues {

using SerialValueLists::baudRates;
using SerialValueLists::dataBits;
using SerialValueLists::flowControls;
using SerialValueLists::match;
using SerialValueLists::parities;
using SerialValueLists::stopBits;

qint32 effectiveBaudRate(const SerialParameters& parameters) {
    const QString rate = match(baudRates(), parameters.BaudRate, QStringLiteral("9600"));
    if (rate == QStringLiteral("Custom"))
        return parameters.CustomBaudRate > 0 ? parameters.CustomBaudRate : 9600;
    return rate.toInt();
}

QSerialPort::StopBits toStopBits(const QString& value) {
    const QString bits = match(stopBits(), value, QStringLiteral("1"));
    if (bits == QStringLiteral("2"))
        return QSerialPort::TwoStop;
    if (bits == QStringLiteral("1.5")) {
#ifdef Q_OS_WIN
        return QSerialPort::OneAndHalfStop;
#else
        // A POSIX line has no separate 1.5 setting: its two-stop-bit setting is what gives 1.5 stop
        // bits at five data bits, and opening with the unsupported value would fail outright.
        return QSerialPort::TwoStop;
#endif
    }
    return QSerialPort::OneStop;
}

QSerialPort::DataBits toDataBits(const QString& value) {
    switch (match(dataBits(), value, QStringLiteral("8")).toInt()) {
    case 5:
        return QSerialPort::Data5;
    case 6:
        return QSerialPort::Data6;
    case 7:
        return QSerialPort::Data7;
    default:
        return QSerialPort::Data8;
    }
}

QSerialPort::Parity toParity(const QString& value) {
    const QString parity = match(parities(), value, QStringLiteral("None"));
    if (parity == QStringLiteral("Odd"))
        return QSerialPort::OddParity;
    if (parity == QStringLiteral("Even"))
        return QSerialPort::EvenParity;
    if (parity == QStringLiteral("Mark"))
        return QSerialPort::MarkParity;
    if (parity == QStringLiteral("Space"))
        return QSerialPort::SpaceParity;
    return QSerialPort::NoParity;
}

QSerialPort::FlowControl toFlowControl(const QString& value) {
    const QString flow = match(flowControls(), value, QStringLiteral("Custom"));
    if (flow == QStringLiteral("Hardware"))
        return QSerialPort::HardwareControl;
    if (flow == QStringLiteral("Software"))
        return QSerialPort::SoftwareControl;
    return QSerialPort::NoFlowControl;
}

} // namespace SerialLineValues
