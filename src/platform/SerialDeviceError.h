#pragma once

#include <QSerialPort>
#include <QString>

// The system's error number for a serial device operation that failed, as the operator's message
// carries it ("... (win error code: %d)"). systemLocation is the device path that was used.
int serialDeviceErrorNumber(const QString& systemLocation, QSerialPort::SerialPortError error);
