#pragma once

#include <QHostAddress>
#include <QList>
#include <QString>

// The address spectators type (or scan) to reach the live results page: the station's address on the
// track's network. A private IPv4 address of an interface that is up is preferred to any other; a
// station without a network gives its loopback address.
class LanAddress {
public:
    static QHostAddress pick(const QList<QHostAddress>& candidates);
    static QHostAddress station();
    static QString pageUrl(const QHostAddress& address, int port);
    static QString stationPageUrl(int port) { return pageUrl(station(), port); }
};
