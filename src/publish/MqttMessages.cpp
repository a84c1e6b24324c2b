#include "publish/MqttMessages.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace MqttMessages {

QString passId(const QString& raceId, int kart, int lap) {
    return raceId + QLatin1Char('-') + QString::number(kart) + QLatin1Char('-') + QString::number(lap);
}

QString resultId(const QString& raceId) {
    return raceId + QLatin1String("-r");
}

QString raceId(const QDateTime& start) {
    return start.toString(QStringLiteral("yyyyMMdd-HHmmss"));
}

QString trackId(const QString& given) {
    constexpr int MaxLength = 32;
    QString id;
    for (const QChar c : given.normalized(QString::NormalizationForm_KD)) {
        if (c.isMark())
            continue;
        const bool plain = (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || (c >= u'0' && c <= u'9') ||
                           c == u'.' || c == u'_' || c == u'-';
        id += plain ? c : QLatin1Char('-');
        if (id.size() == MaxLength)
            break;
    }
    return id.isEmpty() ? QStringLiteral("trat") : id;
}

QByteArray passJson(const MqttPass& pass) {
    const QJsonObject object{{QStringLiteral("id"), passId(pass.raceId, pass.kart, pass.lap)},
                             {QStringLiteral("race"), pass.raceId},
                             {QStringLiteral("kart"), pass.kart},
                             {QStringLiteral("lap"), pass.lap},
                             {QStringLiteral("lapMs"), pass.lapMs},
                             {QStringLiteral("raceMs"), pass.raceMs},
                             {QStringLiteral("wall"), pass.wall.toString(Qt::ISODateWithMs)},
                             {QStringLiteral("name"), pass.name}};
    return QJsonDocument(object).toJson(QJsonDocument::Compact);
}

QByteArray resultJson(const MqttResult& result) {
    QJsonArray karts;
    for (int kart = 1; kart <= 4; ++kart) {
        QJsonArray laps;
        for (const qint64 lap : result.laps.at(kart - 1))
            laps.append(lap);
        karts.append(QJsonObject{{QStringLiteral("kart"), kart},
                                 {QStringLiteral("name"), result.names.at(kart - 1)},
                                 {QStringLiteral("laps"), laps}});
    }
    const QJsonObject object{{QStringLiteral("id"), resultId(result.raceId)},
                             {QStringLiteral("race"), result.raceId},
                             {QStringLiteral("wall"), result.wall.toString(Qt::ISODateWithMs)},
                             {QStringLiteral("karts"), karts}};
    return QJsonDocument(object).toJson(QJsonDocument::Compact);
}

} // namespace MqttMessages
