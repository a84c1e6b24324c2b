#pragma once

#include "display/RaceHistory.h"

#include <QByteArray>
#include <QHash>
#include <QString>

#include <array>
#include <functional>
#include <memory>
#include <optional>

class QHttpServer;
class QHttpServerResponder;
class QObject;
class QThreadPool;

// The results sheet of a kept race as a PDF, from its lap files (kart 1..4, empty for a kart without
// laps). Runs on a worker thread of its own, one sheet at a time; an empty result is a sheet that could
// not be made.
using KeptRacePdfMaker = std::function<QByteArray(const std::array<QString, 4>& lapFilePaths)>;

// The history of kept races on the live page's server: "/zavody" lists them, "/zavody/<id>" opens
// one and "/zavody/<id>/vysledky.pdf" is its results sheet; the data comes from "/api/zavody". A
// request names a race only by an id that is checked against a strict form and the folder's listing;
// the files read are those the listing found, never a name taken from the request.
//
// A results sheet takes a while to draw: it is drawn on a worker, so that the server goes on serving
// and pushing meanwhile, and the request is answered when it is done. Requests for a sheet being drawn
// wait for that one drawing; a drawn sheet is kept until its race's files change.
class HistoryRoutes {
public:
    static constexpr int PageSize = 100;
    static constexpr int KeptSheets = 32;

    HistoryRoutes();
    ~HistoryRoutes();
    HistoryRoutes(const HistoryRoutes&) = delete;
    HistoryRoutes& operator=(const HistoryRoutes&) = delete;

    // Lives on the server's thread, as the routes it adds.
    void setFolder(const QString& folder, KeptRacePdfMaker pdf);
    void addTo(QHttpServer& http);

    // A page of the list, newest first from the race at from; null without a folder.
    QByteArray listJson(int from);
    // One race's laps per kart; nullopt for an id that is no listed race.
    std::optional<QByteArray> raceJson(const QString& id);
    // Requests waiting for a sheet being drawn.
    int sheetRequestsWaiting() const;

private:
    struct Waiting;
    struct HandOver;

    void sendSheet(const QString& id, QHttpServerResponder&& responder);
    void sheetDrawn(const QString& key, const QByteArray& pdf);

    std::unique_ptr<RaceHistory> m_history;
    KeptRacePdfMaker m_pdf;
    int m_generation = 0;                  // a new folder or maker: sheets drawn before are not its own
    QHash<QString, QByteArray> m_pdfCache; // by generation, race id and the state of its files
    std::unique_ptr<Waiting> m_waiting;    // by the same key, while its sheet is drawn
    std::unique_ptr<QObject> m_context;    // on the server's thread, where a drawn sheet is handed back
    std::shared_ptr<HandOver> m_handOver;
    std::unique_ptr<QThreadPool> m_workers;
};
