#pragma once

#include "rankings/BestTwentyFiles.h"
#include "rankings/TBestTwentyTable.h"

#include <QDate>
#include <QDateTime>
#include <QString>
#include <QStringList>

#include <array>
#include <functional>
#include <optional>

struct TSettings;

// What the insertions need to know of one kart: its lap list's entries and the main window's two
// boxes, "Žena" and "Bez účasti".
struct KartEntry {
    QStringList laps;
    bool woman = false;
    bool excluded = false;
    QString driver; // the driver's name; empty: the row enters under the kart's identifier
};

// Calls into what is built over the tables. An empty member does nothing.
struct BestTwentyHooks {
    // The audience window reloads both tables (only called while `TVOUT/Pouzit` is on).
    std::function<void()> audienceReload;
    // After every change of the tables, whatever `TVOUT/Pouzit` says (the live results page).
    std::function<void()> tablesChanged;
    // The applause through the main window's sound player.
    std::function<void()> playApplause;
    // The best-twenty window, modal; returns when the operator closes it.
    std::function<void()> showWindow;
};

// The men's and women's tables in the data folder, and every operation on them: the insertion at
// race end and by hand, edit, delete, the two moves and the reset. Each writes what it changed at
// once. A file that cannot be read abandons the operation with a UserError before anything is
// written.
class BestTwentyTables {
public:
    using Table = BestTwentyFiles::Table;
    static constexpr Table Men = BestTwentyFiles::Men;
    static constexpr Table Women = BestTwentyFiles::Women;

    BestTwentyTables(const QString& dataFolder, const TSettings& settings);

    BestTwentyHooks& hooks() { return m_hooks; }
    // The table's file, as the folder spells it.
    QString filePath(Table table) const;
    const TBestTwentyTable& table(Table table) const { return m_tables[table]; }

    void loadBoth();
    // Per row of the table as it stands: whether the last race entered it (at its end, or by hand
    // since). A row is known by its time and date, so it stays marked when named or moved.
    QList<bool> enteredByLastRace(Table table) const;

    // The smallest lap time of the entries that is not 0; none when there is none. Entries that are
    // no lap times are skipped.
    static std::optional<qint64> bestLap(const QStringList& laps);
    // Offers kart (1..4)'s best lap to its table as it stands in memory; true when it entered.
    bool OfferBestLap(int kart, const KartEntry& entry, const QDate& raceDate);
    // The insertion at race end: every kart not excluded, in order. True when any kart entered.
    bool TopTenDeset(const std::array<KartEntry, 4>& karts, const QDate& raceDate);
    // The insertion of one kart by hand, whatever its "Bez účasti" box says.
    bool insertByHand(int kart, const KartEntry& entry, const QDate& raceDate);
    // Both tables to 20 empty rows, both files written.
    void reset();
    // The reset that keeps what it clears: both files are first copied into the folder "zaloha"
    // under dated names ("2026-12-09 14-05-33 TopDeset.ini"), and only when both copies are
    // written are the tables cleared. Returns the copies' paths; throws UserError before anything is
    // cleared when a table cannot be read or a copy cannot be written.
    QStringList resetKeepingCopies(const QDateTime& when);

    // The window's row operations on the tables as loaded; index is 0-based.
    void editName(Table table, int index, const QString& name);
    void deleteRow(Table table, int index);
    // To the other table ("Přesunout vpravo" from the men's, "Přesunout vlevo" from the women's).
    void moveRow(Table from, int index);

private:
    bool finishInsertion(bool entered);
    void sortAndSaveBoth();
    void tellAudience();

    QString m_dataFolder;
    const TSettings& m_settings;
    BestTwentyHooks m_hooks;
    std::array<TBestTwentyTable, 2> m_tables;
    struct Entered {
        qint64 lapMs;
        QString date;
    };
    QList<Entered> m_lastRace;
};
