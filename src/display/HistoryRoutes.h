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

// The results sheet of a kept race as a PDF, from its lap files (kart 1..4, empty for a kart without
// laps). Runs on the server's thread; an empty result is a sheet that could not be made.
using KeptRacePdfMaker = std::function<QByteArray(const std::array<QString, 4>& lapFilePaths)>;

// The history of kept races on the live page's server: "/zavody" lists them, "/zavody/<id>" opens
// one and "/zavody/<id>/vysledky.pdf" is its results sheet; the data comes from "/api/zavody". A
// request names a race only by an id that is checked against a strict form and the folder's listing;
// the files read are those the listing found, never a name taken from the request.
class HistoryRoutes {
public:
    static constexpr int PageSize = 100;

    // Lives on the server's thread, as the routes it adds.
    void setFolder(const QString& folder, KeptRacePdfMaker pdf);
    void addTo(QHttpServer& http);

    // A page of the list, newest first from the race at from; null without a folder.
    QByteArray listJson(int from);
    // One race's laps per kart; nullopt for an id that is no listed race.
    std::optional<QByteArray> raceJson(const QString& id);

private:
    std::unique_ptr<RaceHistory> m_history;
    KeptRacePdfMaker m_pdf;
    QHash<QString, QByteArray> m_pdfCache; // by race id and the state of its files
};
