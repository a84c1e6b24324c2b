#pragma once

#include <QByteArray>
#include <QJsonObject>
#include <QString>

#include <map>

// What the hub knows of each track, from the messages under "<prefix>/<track>/state|result|online".
// Anything else is dropped: a topic of another shape, a track id that is no short name, a payload
// too big, not JSON or of the wrong types, and a new track beyond the bound, so that no broker's
// traffic can make the hub's memory grow without end.
class HubTracks {
public:
    static constexpr int MaxTracks = 64;
    static constexpr int MaxPayloadBytes = 256 * 1024;
    static constexpr int MaxTrackIdLength = 32;

    explicit HubTracks(const QString& prefix) : m_prefix(prefix) {}

    // True when the message changed what the page shows.
    bool take(const QString& topic, const QByteArray& payload);
    // The page's JSON: {"tracks":[{"id","online","state","result"}...]} sorted by id.
    QByteArray json() const;
    int trackCount() const { return int(m_tracks.size()); }

private:
    struct Track {
        bool online = false;
        QJsonObject state;
        QJsonObject result;
    };

    QString m_prefix;
    std::map<QString, Track> m_tracks;
};
