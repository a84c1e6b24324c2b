#pragma once

#include "config/SerialParameters.h"
#include "config/SerialValueLists.h"

#include <QSerialPort>
#include <QStringList>

// What the serial line's parameter values (section "ComPort1") mean for QSerialPort.
namespace SerialLineValues {

// The rate the line runs at: the listed rate, or CustomBaudRate for "Custom" (9600 if not positive).
qint32 effectiveBaudRate(const SerialParameters& parameters);
QSerialPort::StopBits toStopBits(const QString& value);
QSerialPort::DataBits toDataBits(const QString& value);
QSerialPort::Parity toParity(const QString& value);
// "Custom" means no flow control of any kind, as the port's individual handshake options are all off.
QSerialPort::FlowControl toFlowControl(const QString& value);

} // namespace SerialLineValues
