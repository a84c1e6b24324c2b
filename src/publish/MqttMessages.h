#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QString>
#include <QtGlobal>

#include <array>

// One accepted pass of a kart, as the broker's subscribers get it.
struct MqttPass {
    QString raceId; // the race's start, local time "yyyyMMdd-HHmmss"
    int kart = 0;   // 1..4
    int lap = 0;    // the lap's number in the kart's lap list, from 1
    qint64 lapMs = 0;
    qint64 raceMs = 0; // the race time at the pass
    QDateTime wall;    // the station's clock at the pass
    QString name;      // the kart's driver, empty when none was entered
};

// The race at STOP: every kart's laps as its lap list holds them.
struct MqttResult {
    QString raceId;
    QDateTime wall;
    std::array<QList<qint64>, 4> laps;
    std::array<QString, 4> names;
};

namespace MqttMessages {

// The id a consumer drops repeats by: the race, the kart and the lap ("…-r" for a race's result).
QString passId(const QString& raceId, int kart, int lap);
QString resultId(const QString& raceId);
// The race id of a race started at that local time.
QString raceId(const QDateTime& start);

// The track's level in the topics, from the operator's "Trat" (or the host name): letters without
// their diacritics, digits, ".", "_" and "-", at most 32 characters; anything else becomes "-". A
// "/", "+" or "#" would split or widen the topics, and the hub takes no other shape.
QString trackId(const QString& given);

// UTF-8 JSON objects, compact.
QByteArray passJson(const MqttPass& pass);
QByteArray resultJson(const MqttResult& result);

} // namespace MqttMessages
