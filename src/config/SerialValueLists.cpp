#include "config/SerialValueLists.h"

namespace SerialValueLists {

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

} // namespace SerialValueLists
