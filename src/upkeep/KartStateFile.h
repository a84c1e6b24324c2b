#pragma once

#include "upkeep/TKartState.h"

#include <QString>
#include <QStringList>

#include <array>

using KartStates = std::array<TKartState, 4>;

// "stav.ini" in the data folder: the sections "Motokara1" to "Motokara4", windows-1250. Writes are
// atomic and keep every section and key the station does not know; a new section gets its keys in
// the station's fixed order.
//
// A file that exists but cannot be read is never written over. The station then runs on the
// defaults, and what this run drives is kept: once the file can be read again, the next store adds
// it to the file's driven times and leaves the rest of the file as it is.
class KartStateFile {
public:
    explicit KartStateFile(QString path) : m_path(std::move(path)) {}
    const QString& path() const { return m_path; }

    // The four records; missing keys give the defaults and values are brought into their ranges. A
    // driven time that is no engine time text, or lies outside 0:0 to 999999:59, is not taken: it
    // counts as "0:0" and is named in problems(). The seconds driven beyond its minutes are the key
    // "Sekundy", written after the others. When the file cannot be read, the defaults, and
    // problems() says so.
    KartStates load();
    // Czech messages about the last load, each to be shown once.
    const QStringList& problems() const { return m_problems; }
    bool blocked() const { return m_blocked; }

    // Every key of the four records; throws UserError with the system's message when the file
    // cannot be written. While the file cannot be read, nothing is written; once it can, only this
    // run's driven time is added to it and states takes the file's records.
    void save(KartStates& states);
    // Only the four driven times (at program close), under the same rules.
    void saveDriven(KartStates& states);

private:
    void write(const KartStates& states, bool drivenOnly);
    // A blocked file that can be read again: this run's driving added to it, and states reloaded.
    bool resumeBlocked(KartStates& states);

    QString m_path;
    QStringList m_problems;
    bool m_blocked = false;
};
