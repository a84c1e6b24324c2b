#pragma once

#include "publish/MqttConnection.h"

#include <QString>

// The settings page's "Vyzkoušet spojení": one connection to the broker and back, waiting at most
// timeoutMs. Blocks its caller, so it runs on a thread of its own.
namespace MqttConnectionCheck {

// What happened, in Czech, for the operator.
QString run(const MqttConnection& connection, int timeoutMs = 5000);

} // namespace MqttConnectionCheck
