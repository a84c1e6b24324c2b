#include "display/HistoryRoutes.h"

#include "timing/LapTime.h"

#include <QFile>
#include <QFileInfo>
#include <QHttpServer>
#include <QHttpServerRequest>
#include <QHttpServerResponder>
#include <QHttpServerResponse>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QMetaObject>
#include <QMutex>
#include <QPointer>
#include <QTcpSocket>
#include <QThreadPool>
#include <QUrlQuery>

#include <map>
#include <vector>

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

// What the server's own routes add to every response: a responder's answer passes none of them.
void writeText(QHttpServerResponder& responder, const QString& text,
               QHttpServerResponder::StatusCode status) {
    responder.write(text.toUtf8(),
                    {{"Content-Type", "text/plain; charset=utf-8"}, {"X-Content-Type-Options", "nosniff"}},
                    status);
}

void writeSheet(QHttpServerResponder& responder, const QByteArray& pdf) {
    if (pdf.isEmpty()) {
        writeText(responder, QStringLiteral("Výsledky se nepodařilo vytvořit."),
                  QHttpServerResponder::StatusCode::InternalServerError);
        return;
    }
    responder.write(pdf, {{"Content-Type", "application/pdf"},
                          {"Content-Disposition", "attachment; filename=\"vysledky.pdf\""},
                          {"X-Content-Type-Options", "nosniff"}});
}

} // namespace

struct HistoryRoutes::Waiting {
    struct Request {
        QPointer<QTcpSocket> socket; // gone with a client that left
        QHttpServerResponder responder;
    };
    std::map<QString, std::vector<Request>> byKey;
};

// Where a worker hands a drawn sheet back: nowhere once the routes are gone.
struct HistoryRoutes::HandOver {
    QMutex mutex;
    QObject* context = nullptr;
};

HistoryRoutes::HistoryRoutes()
    : m_waiting(std::make_unique<Waiting>()), m_handOver(std::make_shared<HandOver>()),
      m_workers(std::make_unique<QThreadPool>()) {
    // One sheet at a time: the station's machine has few cores, and its race comes first.
    m_workers->setMaxThreadCount(1);
}

HistoryRoutes::~HistoryRoutes() {
    {
        QMutexLocker lock(&m_handOver->mutex);
        m_handOver->context = nullptr;
    }
    m_workers->clear();
    m_context.reset();
    m_workers->waitForDone();
}

void HistoryRoutes::setFolder(const QString& folder, KeptRacePdfMaker pdf) {
    m_history = folder.isEmpty() ? nullptr : std::make_unique<RaceHistory>(folder);
    m_pdf = std::move(pdf);
    // The sheets are drawn with the settings of their maker.
    ++m_generation;
    m_pdfCache.clear();
}

int HistoryRoutes::sheetRequestsWaiting() const {
    int count = 0;
    for (const auto& [key, requests] : m_waiting->byKey)
        count += int(requests.size());
    return count;
}

void HistoryRoutes::sendSheet(const QString& id, QHttpServerResponder&& responder) {
    const std::optional<KeptRace> race = m_history ? m_history->find(id) : std::nullopt;
    if (!race || !m_pdf) {
        writeText(responder, QStringLiteral("Takový závod tu není."),
                  QHttpServerResponder::StatusCode::NotFound);
        return;
    }
    const QString key = QStringLiteral("%1|%2").arg(m_generation).arg(fileState(*m_history, *race));
    if (const auto kept = m_pdfCache.constFind(key); kept != m_pdfCache.cend()) {
        writeSheet(responder, *kept);
        return;
    }
    std::vector<Waiting::Request>& waiting = m_waiting->byKey[key];
    QPointer<QTcpSocket> socket = responder.socket();
    waiting.push_back({socket, std::move(responder)});
    if (waiting.size() > 1)
        return;
    std::array<QString, 4> paths;
    for (int k = 0; k < 4; ++k) {
        if (!race->lapFiles[k].isEmpty())
            paths[k] = m_history->filePath(race->lapFiles[k]);
    }
    m_workers->start([this, pdf = m_pdf, paths, key, handOver = m_handOver] {
        QByteArray sheet;
        try {
            sheet = pdf(paths);
        } catch (...) {
            sheet.clear();
        }
        QMutexLocker lock(&handOver->mutex);
        if (handOver->context)
            QMetaObject::invokeMethod(
                handOver->context, [this, key, sheet] { sheetDrawn(key, sheet); }, Qt::QueuedConnection);
    });
}

void HistoryRoutes::sheetDrawn(const QString& key, const QByteArray& pdf) {
    // A sheet that could not be drawn is tried again at the next request.
    if (!pdf.isEmpty()) {
        if (m_pdfCache.size() >= KeptSheets)
            m_pdfCache.clear();
        m_pdfCache.insert(key, pdf);
    }
    auto waiting = m_waiting->byKey.extract(key);
    if (waiting.empty())
        return;
    for (Waiting::Request& request : waiting.mapped()) {
        if (request.socket && request.socket->state() == QAbstractSocket::ConnectedState)
            writeSheet(request.responder, pdf);
    }
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
    // Made here, on the server's thread, where the drawn sheets are to be answered.
    if (!m_context) {
        m_context = std::make_unique<QObject>();
        QMutexLocker lock(&m_handOver->mutex);
        m_handOver->context = m_context.get();
    }
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
    http.route(
        QStringLiteral("/zavody/<arg>/vysledky.pdf"), Method::Get,
        [this](const QString& id, QHttpServerResponder&& responder) { sendSheet(id, std::move(responder)); });
}
