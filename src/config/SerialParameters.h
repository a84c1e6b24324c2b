#pragma once

#include <QString>

// The serial line's parameters as the section "ComPort1" stores them: every value is a text from a
// fixed list. The serial port object applies them; the settings file reads and writes them.
struct SerialParameters {
    QString Port = QStringLiteral("COM1");
    QString BaudRate = QStringLiteral("9600");
    int CustomBaudRate = 9600;
    QString StopBits = QStringLiteral("1");
    QString DataBits = QStringLiteral("8");
    QString Parity = QStringLiteral("None");
    QString FlowControl = QStringLiteral("None");

    bool operator==(const SerialParameters& other) const {
        return Port == other.Port && BaudRate == other.BaudRate && CustomBaudRate == other.CustomBaudRate &&
               StopBits == other.StopBits && DataBits == other.DataBits && Parity == other.Parity &&
               FlowControl == other.FlowControl;
    }
    bool operator!=(const SerialParameters& other) const { return !(*this == other); }
};
