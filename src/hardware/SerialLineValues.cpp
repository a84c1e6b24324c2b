#include "hardware/SerialLineValues.h"

namespace SerialLineValues {

const QStringList& baudRates() {
    static const QStringList list = {
        QStringLiteral("Custom"), QStringLiteral("110"),    QStringLiteral("300"),
        QStringLiteral("600"),    QStringLiteral("1200"),   QStringLiteral("2400"),
        QStringLiteral("4800"),   QStringLiteral("9600"),   QStringLiteral("14400"),
        QStringLiteral("19200"),  QStringLiteral("38400"),  QStringLiteral("56000"),
        QStringLiteral("57600"),  QStringLiteral("115200"), QStringLiteral("128000"),
        QStringLiteral("256000")};
    return list;
}

const QStringList& stopBits() {
    static const QStringList list = {QStringLiteral("1"), QStringLiteral("1.5"), QStringLiteral("2")};
    return list;
}

const QStringList& dataBits() {
    static const QStringList list = {QStringLiteral("5"), QStringLiteral("6"), QStringLiteral("7"),
                                     QStringLiteral("8")};
    return list;
}

const QStringList& parities() {
    static const QStringList list = {QStringLiteral("None"), QStringLiteral("Odd"), QStringLiteral("Even"),
                                     QStringLiteral("Mark"), QStringLiteral("Space")};
    return list;
}

const QStringList& flowControls() {
    static const QStringList list = {QStringLiteral("Hardware"), QStringLiteral("Software"),
                                     QStringLiteral("None"), QStringLiteral("Custom")};
    return list;
}

QString match(const QStringList& list, const QString& value, const QString& fallback) {
    for (const QString& entry : list) {
        if (entry.compare(value.trimmed(), Qt::CaseInsensitive) == 0)
            return entry;
    }
    return fallback;
}

SerialParameters normalized(const SerialParameters& parameters) {
    SerialParameters result = parameters;
    result.BaudRate = match(baudRates(), parameters.BaudRate, QStringLiteral("9600"));
    result.StopBits = match(stopBits(), parameters.StopBits, QStringLiteral("1"));
    result.DataBits = match(dataBits(), parameters.DataBits, QStringLiteral("8"));
    result.Parity = match(parities(), parameters.Parity, QStringLiteral("None"));
    result.FlowControl = match(flowControls(), parameters.FlowControl, QStringLiteral("Custom"));
    return result;
}

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
