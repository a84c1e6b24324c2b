#include "display/HistoryRoutes.h"

#include "timing/LapTime.h"

#include <QFile>
#include <QFileInfo>
#include <QHttpServer>
#include <QHttpServerRequest>
#include <QHttpServerResponse>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QUrlQuery>

namespace {

using Status = QHttpServerResponse::StatusCode;

QHttpServerResponse page(const QString& name) {
    QFile file(QStringLiteral(":/web/") + name);
    QHttpServerResponse response(QByteArray("text/html; charset=utf-8"),
                                 file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray());
    response.setHeader("Cache-Control", "no-cache");
    return response;
}

QHttpServerResponse json(const QByteArray& body) {
    QHttpServerResponse response(QByteArray("application/json"), body);
    response.setHeader("Cache-Control", "no-cache");
    return response;
}

QHttpServerResponse notFound() {
    return QHttpServerResponse(QByteArray("text/plain; charset=utf-8"),
                               QStringLiteral("Takový závod tu není.").toUtf8(), Status::NotFound);
}

QString dateText(const QDateTime& start) {
    return start.toString(QStringLiteral("d. M. yyyy"));
}

QString timeText(const QDateTime& start) {
    return start.toString(QStringLiteral("H:mm:ss"));
}

// What the race's files are now: a sheet made before they changed is not this race's any more.
QString fileState(const RaceHistory& history, const KeptRace& race) {
    QString state = race.id;
    for (const QString& name : race.lapFiles) {
        if (name.isEmpty())
            continue;
        const QFileInfo info(history.filePath(name));
        state += QStringLiteral("|%1:%2").arg(info.size()).arg(info.lastModified().toMSecsSinceEpoch());
    }
    return state;
}

} // namespace

void HistoryRoutes::setFolder(const QString& folder, KeptRacePdfMaker pdf) {
    m_history = folder.isEmpty() ? nullptr : std::make_unique<RaceHistory>(folder);
    m_pdf = std::move(pdf);
}

QByteArray HistoryRoutes::listJson(int from) {
    QJsonArray rows;
    int total = 0;
    if (m_history) {
        const QList<KeptRace>& races = m_history->races();
        total = int(races.size());
        from = std::clamp(from, 0, total);
        for (int i = from; i < std::min(total, from + PageSize); ++i) {
            const KeptRace& race = races[i];
            const KeptRaceSummary summary = m_history->summary(race);
            QJsonObject row{{QStringLiteral("id"), race.id},
                            {QStringLiteral("date"), dateText(race.start)},
                            {QStringLiteral("time"), timeText(race.start)},
                            {QStringLiteral("karts"), race.karts()},
                            {QStringLiteral("laps"), summary.laps}};
            if (summary.best)
                row.insert(QStringLiteral("best"), FormatLapTime(*summary.best));
            rows.append(row);
        }
    }
    const QJsonObject root{{QStringLiteral("total"), total},
                           {QStringLiteral("from"), std::max(0, from)},
                           {QStringLiteral("pageSize"), PageSize},
                           {QStringLiteral("races"), rows}};
    return QJsonDocument(root).toJson(QJsonDocument::Compact);
}

std::optional<QByteArray> HistoryRoutes::raceJson(const QString& id) {
    if (!m_history)
        return std::nullopt;
    const std::optional<KeptRaceDetail> race = m_history->open(id);
    if (!race)
        return std::nullopt;
    QJsonArray karts;
    for (int k = 1; k <= 4; ++k) {
        if (race->race.lapFiles[k - 1].isEmpty())
            continue;
        QJsonArray texts;
        QJsonArray ms;
        std::optional<qint64> best;
        for (qint64 lap : race->laps[k - 1]) {
            texts.append(FormatLapTime(lap));
            ms.append(double(lap));
            if (lap > 40 && (!best || lap < *best))
                best = lap;
        }
        QJsonObject kart{{QStringLiteral("kart"), k},
                         {QStringLiteral("name"), race->drivers[k - 1]},
                         {QStringLiteral("laps"), texts},
                         {QStringLiteral("lapsMs"), ms}};
        if (best)
            kart.insert(QStringLiteral("best"), FormatLapTime(*best));
        karts.append(kart);
    }
    const QJsonObject root{{QStringLiteral("id"), race->race.id},
                           {QStringLiteral("date"), dateText(race->race.start)},
                           {QStringLiteral("time"), timeText(race->race.start)},
                           {QStringLiteral("karts"), karts}};
    return QJsonDocument(root).toJson(QJsonDocument::Compact);
}

void HistoryRoutes::addTo(QHttpServer& http) {
    using Method = QHttpServerRequest::Method;
    http.route(QStringLiteral("/zavody"), Method::Get, [] { return page(QStringLiteral("history.html")); });
    http.route(QStringLiteral("/zavody/"), Method::Get, [this](const QString& id) {
        return m_history && m_history->find(id) ? page(QStringLiteral("race.html")) : notFound();
    });
    http.route(QStringLiteral("/api/zavody"), Method::Get, [this](const QHttpServerRequest& request) {
        bool ok = false;
        const int from = QUrlQuery(request.url()).queryItemValue(QStringLiteral("od")).toInt(&ok);
        return json(listJson(ok ? from : 0));
    });
    http.route(QStringLiteral("/api/zavody/"), Method::Get, [this](const QString& id) {
        const std::optional<QByteArray> body = raceJson(id);
        return body ? json(*body) : notFound();
    });
    // Drawn on the server's thread, not the main one: the station's race never waits for a sheet; the
    // live pages wait for it once per race, as a made sheet is kept.
    http.route(QStringLiteral("/zavody/<arg>/vysledky.pdf"), Method::Get, [this](const QString& id) {
        const std::optional<KeptRace> race = m_history ? m_history->find(id) : std::nullopt;
        if (!race || !m_pdf)
            return notFound();
        const QString key = fileState(*m_history, *race);
        QByteArray pdf = m_pdfCache.value(key);
        if (pdf.isEmpty()) {
            std::array<QString, 4> paths;
            for (int k = 0; k < 4; ++k) {
                if (!race->lapFiles[k].isEmpty())
                    paths[k] = m_history->filePath(race->lapFiles[k]);
            }
            pdf = m_pdf(paths);
            if (m_pdfCache.size() >= 32)
                m_pdfCache.clear();
            if (!pdf.isEmpty())
                m_pdfCache.insert(key, pdf);
        }
        if (pdf.isEmpty())
            return QHttpServerResponse(QByteArray("text/plain; charset=utf-8"),
                                       QStringLiteral("Výsledky se nepodařilo vytvořit.").toUtf8(),
                                       Status::InternalServerError);
        QHttpServerResponse response(QByteArray("application/pdf"), pdf);
        response.setHeader("Content-Disposition", "attachment; filename=\"vysledky.pdf\"");
        return response;
    });
}
