#pragma once

#include <QDateTime>
#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

#include <array>
#include <optional>

// One race kept in "vysledky", as its file names tell it: started at start, the copy number of a
// second race started in the same second (1 for the first), and its kept lap files.
struct KeptRace {
    QString id; // "yyyy-MM-dd_HH-mm-ss", with "_n" for the copy n > 1
    QDateTime start;
    std::array<QString, 4> lapFiles; // kart 1..4's file name in the folder; empty: no laps kept
    int karts() const;
};

// What the history's list shows of one race, read from its lap files.
struct KeptRaceSummary {
    int laps = 0;               // all karts' laps
    std::optional<qint64> best; // the fastest lap above 40 ms
};

// A kept race opened: each kart's driver (empty when not known) and laps in ms.
struct KeptRaceDetail {
    KeptRace race;
    std::array<QString, 4> drivers;
    std::array<QList<qint64>, 4> laps;
};

// The races kept in one folder, newest first. The list comes from the folder's file names alone; a
// race's laps are read only when a page of the list or the race itself is asked for, and then kept
// until its files change. Nothing is stored beside the lap files: what is kept in memory is rebuilt
// from the folder whenever it changed.
class RaceHistory {
public:
    explicit RaceHistory(QString folder);

    // An id of the form every kept race has; anything else never reaches the file system.
    static bool validId(const QString& id);
    // The race a kept lap file name belongs to, with its kart; nullopt for any other name.
    struct FileRef {
        QString id;
        QDateTime start;
        int kart = 0;
    };
    static std::optional<FileRef> parseFileName(const QString& name);

    // Every kept race, newest first.
    const QList<KeptRace>& races();
    // A listed race's laps and best lap.
    KeptRaceSummary summary(const KeptRace& race);
    // The race of id when it is one of the listed; nullopt otherwise.
    std::optional<KeptRace> find(const QString& id);
    std::optional<KeptRaceDetail> open(const QString& id);
    QString filePath(const QString& name) const;

private:
    void rescanIfChanged();

    QString m_folder;
    QList<KeptRace> m_races;
    QHash<QString, int> m_index; // id -> place in m_races
    QDateTime m_folderChanged;
    qint64 m_scannedAtMs = 0;
    struct CachedSummary {
        QDateTime changed;
        qint64 size = 0;
        KeptRaceSummary summary;
    };
    QHash<QString, CachedSummary> m_summaries; // by lap file name
};
