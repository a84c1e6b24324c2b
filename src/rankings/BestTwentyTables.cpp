#include "rankings/BestTwentyTables.h"

#include "base/Hooks.h"
#include "base/UserError.h"
#include "config/AtomicFile.h"
#include "config/DataFileReader.h"
#include "config/DataFolder.h"
#include "config/FileMessages.h"
#include "config/TSettings.h"
#include "rankings/BestTwentyEntry.h"
#include "timing/LapTime.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>
#include <limits>

BestTwentyTables::BestTwentyTables(const QString& dataFolder, const TSettings& settings)
    : m_dataFolder(dataFolder), m_settings(settings) {}

QString BestTwentyTables::filePath(Table table) const {
    return BestTwentyFiles::path(m_dataFolder, table);
}

void BestTwentyTables::loadBoth() {
    // Both read before either is taken, so that a table that cannot be read leaves both as they were.
    TBestTwentyTable men;
    TBestTwentyTable women;
    men.load(filePath(Men));
    women.load(filePath(Women));
    m_tables = {men, women};
}

QList<bool> BestTwentyTables::enteredByLastRace(Table table) const {
    // Each entry marks one row, the men's table first: of equal rows the first, which is the newer.
    QList<Entered> left = m_lastRace;
    QList<bool> marks;
    for (Table t : {Men, Women}) {
        marks.clear();
        for (const BestTwentyRow& row : m_tables[t].rows()) {
            const auto it = std::find_if(left.begin(), left.end(), [&row](const Entered& e) {
                return e.lapMs == row.timeValue() && e.date == row.date();
            });
            marks << (it != left.end());
            if (it != left.end())
                left.erase(it);
        }
        if (t == table)
            break;
    }
    return marks;
}

std::optional<qint64> BestTwentyTables::bestLap(const QStringList& laps) {
    qint64 best = std::numeric_limits<qint64>::max();
    for (const QString& entry : laps) {
        qint64 lap = 0;
        if (TryParseLapTime(entry, &lap) && lap != 0 && lap < best)
            best = lap;
    }
    if (best == std::numeric_limits<qint64>::max())
        return std::nullopt;
    return best;
}

bool BestTwentyTables::OfferBestLap(int kart, const KartEntry& entry, const QDate& raceDate) {
    const std::optional<qint64> best = bestLap(entry.laps);
    if (!best)
        return false;
    const QString date = raceDate.toString(Qt::ISODate);
    // The operator can still change the name in the window that shows the new row.
    const QString name = entry.driver.isEmpty() ? QStringLiteral("kara%1").arg(kart) : entry.driver;
    if (!m_tables[BestTwentyEntry::tableFor(entry.woman)].offer(name, *best, date))
        return false;
    m_lastRace.append({*best, date});
    return true;
}

bool BestTwentyTables::TopTenDeset(const std::array<KartEntry, 4>& karts, const QDate& raceDate) {
    loadBoth();
    m_lastRace.clear();
    bool entered = false;
    for (int kart = 1; kart <= 4; ++kart) {
        if (!karts[kart - 1].excluded)
            entered = OfferBestLap(kart, karts[kart - 1], raceDate) || entered;
    }
    return finishInsertion(entered);
}

bool BestTwentyTables::insertByHand(int kart, const KartEntry& entry, const QDate& raceDate) {
    loadBoth();
    return finishInsertion(OfferBestLap(kart, entry, raceDate));
}

bool BestTwentyTables::finishInsertion(bool entered) {
    sortAndSaveBoth();
    tellAudience();
    if (entered) {
        if (m_settings.Zvuk.Applaus)
            callHook(m_hooks.playApplause);
        callHook(m_hooks.showWindow);
    }
    return entered;
}

void BestTwentyTables::reset() {
    loadBoth();
    for (TBestTwentyTable& table : m_tables)
        table.reset();
    m_tables[Men].save();
    m_tables[Women].save();
    tellAudience();
}

QStringList BestTwentyTables::resetKeepingCopies(const QDateTime& when) {
    // Loading first: a file that is no table (or no regular file) stops the reset before any copy.
    loadBoth();
    const QString folder = DataFolder(m_dataFolder).folderPath(QStringLiteral("zaloha"));
    if (!QDir().mkpath(folder))
        throw UserError(cannotCreateFileMessage(folder, QStringLiteral("Složku nelze vytvořit.")));
    const QString stamp = when.toString(QStringLiteral("yyyy-MM-dd HH-mm-ss"));
    QStringList copies;
    for (const TBestTwentyTable& table : m_tables) {
        const QString original = QFileInfo(table.path()).fileName();
        QString copy = folder + QLatin1Char('/') + stamp + QLatin1Char(' ') + original;
        // Two resets within a second keep both copies.
        for (int n = 2; QFileInfo::exists(copy) || QFileInfo(copy).isSymLink(); ++n)
            copy = folder + QStringLiteral("/%1 (%2) %3").arg(stamp).arg(n).arg(original);
        const DataFileReader::Result read = DataFileReader::read(table.path());
        if (read.status != DataFileReader::Status::Read)
            throw UserError(read.error.isEmpty() ? cannotOpenFileMessage(table.path(), QString())
                                                 : read.error);
        QString reason;
        if (!AtomicFile::write(copy, read.bytes, &reason))
            throw UserError(cannotCreateFileMessage(copy, reason));
        copies << copy;
    }
    reset();
    return copies;
}

void BestTwentyTables::editName(Table table, int index, const QString& name) {
    if (index < 0 || index >= m_tables[table].rowCount())
        return;
    m_tables[table].setName(index, name);
    m_tables[table].save();
    tellAudience();
}

void BestTwentyTables::deleteRow(Table table, int index) {
    if (index < 0 || index >= m_tables[table].rowCount())
        return;
    m_tables[table].removeRow(index);
    m_tables[table].save();
    tellAudience();
}

void BestTwentyTables::moveRow(Table from, int index) {
    if (index < 0 || index >= m_tables[from].rowCount())
        return;
    const Table to = from == Men ? Women : Men;
    m_tables[to].enterMoved(m_tables[from].takeRow(index));
    sortAndSaveBoth();
    tellAudience();
}

void BestTwentyTables::sortAndSaveBoth() {
    for (TBestTwentyTable& table : m_tables)
        table.sortAndRenumber();
    m_tables[Men].save();
    m_tables[Women].save();
}

void BestTwentyTables::tellAudience() {
    if (m_settings.TVOUT.Pouzit)
        callHook(m_hooks.audienceReload);
    callHook(m_hooks.tablesChanged);
}
