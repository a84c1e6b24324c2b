#pragma once

#include <QString>

// The system's error number for a serial device that cannot be used at all, as the operator's message
// carries it ("... (win error code: %d)"): the device at systemLocation is missing or not accessible.
// 0 when the device is there and accessible, so that the port's own error class decides.
int serialDeviceAccessError(const QString& systemLocation);
