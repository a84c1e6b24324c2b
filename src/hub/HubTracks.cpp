#include "hub/HubTracks.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QRegularExpression>

#include <optional>

namespace {

bool validTrackId(const QString& id) {
    static const QRegularExpression shape(
        QStringLiteral("^[A-Za-z0-9._-]{1,%1}$").arg(HubTracks::MaxTrackIdLength));
    return shape.match(id).hasMatch();
}

// A JSON object whose "karts" is an array of objects; null otherwise.
std::optional<QJsonObject> raceObject(const QByteArray& payload) {
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(payload, &error);
    if (error.error != QJsonParseError::NoError || !document.isObject())
        return std::nullopt;
    const QJsonObject object = document.object();
    const QJsonValue karts = object.value(QStringLiteral("karts"));
    if (!karts.isArray() || karts.toArray().size() > 4)
        return std::nullopt;
    for (const QJsonValue& kart : karts.toArray()) {
        if (!kart.isObject())
            return std::nullopt;
    }
    return object;
}

} // namespace

bool HubTracks::take(const QString& topic, const QByteArray& payload) {
    if (payload.isEmpty() || payload.size() > MaxPayloadBytes)
        return false;
    const QStringList parts = topic.split(QLatin1Char('/'));
    if (parts.size() != 3 || parts.at(0) != m_prefix || !validTrackId(parts.at(1)))
        return false;
    const QString& leaf = parts.at(2);
    auto it = m_tracks.find(parts.at(1));
    if (it == m_tracks.end() && int(m_tracks.size()) >= MaxTracks)
        return false;
    if (leaf == QLatin1String("online")) {
        if (payload != "0" && payload != "1")
            return false;
        if (it == m_tracks.end())
            it = m_tracks.emplace(parts.at(1), Track()).first;
        it->second.online = payload == "1";
        return true;
    }
    if (leaf != QLatin1String("state") && leaf != QLatin1String("result"))
        return false;
    const std::optional<QJsonObject> object = raceObject(payload);
    if (!object || (leaf == QLatin1String("state") && !object->value(QStringLiteral("running")).isBool()))
        return false;
    if (it == m_tracks.end())
        it = m_tracks.emplace(parts.at(1), Track()).first;
    (leaf == QLatin1String("state") ? it->second.state : it->second.result) = *object;
    return true;
}

QByteArray HubTracks::json() const {
    QJsonArray tracks;
    for (const auto& [id, track] : m_tracks) {
        tracks.append(QJsonObject{{QStringLiteral("id"), id},
                                  {QStringLiteral("online"), track.online},
                                  {QStringLiteral("state"), track.state},
                                  {QStringLiteral("result"), track.result}});
    }
    return QJsonDocument(QJsonObject{{QStringLiteral("tracks"), tracks}}).toJson(QJsonDocument::Compact);
}
