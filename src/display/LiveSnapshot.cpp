#include "display/LiveSnapshot.h"

#include "timing/LapTime.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <algorithm>

namespace {

QJsonArray topTenJson(const QList<TopTenRow>& rows) {
    QJsonArray array;
    for (const TopTenRow& row : rows)
        array.append(QJsonObject{{QStringLiteral("rank"), row.rank},
                                 {QStringLiteral("name"), row.name},
                                 {QStringLiteral("time"), row.time}});
    return array;
}

} // namespace

QByteArray LiveSnapshot::toJson(qint64 nowUs) const {
    QJsonArray karts;
    for (const RaceProgressRow& row : raceList) {
        const int kart = row.kart;
        if (kart < 1 || kart > 4)
            continue;
        const QList<qint64>& own = laps[kart - 1];
        QJsonArray lapTexts;
        QJsonArray lapMs;
        for (qint64 lap : own) {
            lapTexts.append(FormatLapTime(lap));
            lapMs.append(double(lap));
        }
        QJsonObject entry{{QStringLiteral("kart"), kart},
                          {QStringLiteral("name"), row.name},
                          {QStringLiteral("position"), row.position},
                          {QStringLiteral("time"), row.time},
                          {QStringLiteral("lapNumber"), row.laps},
                          {QStringLiteral("count"), int(own.size())},
                          {QStringLiteral("laps"), lapTexts},
                          {QStringLiteral("lapsMs"), lapMs}};
        if (!own.isEmpty())
            entry.insert(QStringLiteral("last"), FormatLapTime(own.last()));
        entry.insert(QStringLiteral("lastRecord"), lastRecord[kart - 1]);
        entry.insert(QStringLiteral("bestRecord"), bestRecord[kart - 1]);
        if (best[kart - 1])
            entry.insert(QStringLiteral("best"), FormatLapTime(*best[kart - 1]));
        karts.append(entry);
    }
    const qint64 elapsed = running ? std::max<qint64>(0, (nowUs - startUs) / 1000) : elapsedMs;
    const QJsonObject root{{QStringLiteral("running"), running},
                           {QStringLiteral("elapsedMs"), elapsed},
                           {QStringLiteral("flag"), flag},
                           {QStringLiteral("raceMinutes"), raceMinutes},
                           {QStringLiteral("karts"), karts},
                           {QStringLiteral("men"), topTenJson(men)},
                           {QStringLiteral("women"), topTenJson(women)}};
    return QJsonDocument(root).toJson(QJsonDocument::Compact);
}
