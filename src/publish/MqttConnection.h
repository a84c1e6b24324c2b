#pragma once

#include <QString>

// Where and how the station reaches the broker, as the section "MQTT" of the settings says.
struct MqttConnection {
    QString host = QStringLiteral("localhost");
    int port = 1883;
    QString prefix = QStringLiteral("tarvolin"); // the topics' first level
    QString track;                               // the second level: this track's short id
    QString user;                                // empty: no login
    QString password;
    bool tls = false; // checked against the system's certificate store

    // "<prefix>/<track>/<leaf>"
    QString topic(const char* leaf) const {
        return prefix + QLatin1Char('/') + track + QLatin1Char('/') + QLatin1String(leaf);
    }
};
