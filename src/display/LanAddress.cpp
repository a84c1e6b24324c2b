#include "display/LanAddress.h"

#include <QNetworkInterface>

namespace {

bool isPrivate(const QHostAddress& address) {
    return address.isInSubnet(QHostAddress(QStringLiteral("10.0.0.0")), 8) ||
           address.isInSubnet(QHostAddress(QStringLiteral("172.16.0.0")), 12) ||
           address.isInSubnet(QHostAddress(QStringLiteral("192.168.0.0")), 16);
}

} // namespace

QHostAddress LanAddress::pick(const QList<QHostAddress>& candidates) {
    QHostAddress other;
    for (const QHostAddress& address : candidates) {
        if (address.protocol() != QAbstractSocket::IPv4Protocol || address.isLoopback() ||
            address.isInSubnet(QHostAddress(QStringLiteral("169.254.0.0")), 16))
            continue;
        if (isPrivate(address))
            return address;
        if (other.isNull())
            other = address;
    }
    return other.isNull() ? QHostAddress(QHostAddress::LocalHost) : other;
}

QHostAddress LanAddress::station() {
    QList<QHostAddress> candidates;
    const auto interfaces = QNetworkInterface::allInterfaces();
    for (const QNetworkInterface& face : interfaces) {
        const auto flags = face.flags();
        if (!flags.testFlag(QNetworkInterface::IsUp) || !flags.testFlag(QNetworkInterface::IsRunning) ||
            flags.testFlag(QNetworkInterface::IsLoopBack))
            continue;
        for (const QNetworkAddressEntry& entry : face.addressEntries())
            candidates << entry.ip();
    }
    return pick(candidates);
}

QString LanAddress::pageUrl(const QHostAddress& address, int port) {
    return QStringLiteral("http://%1:%2/").arg(address.toString()).arg(port);
}
