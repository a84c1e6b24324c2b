#pragma once

#include <QString>

#include <functional>

class TRace;

// At start-up, a journal in the data folder is a race that did not end: a crash, a kill or a power
// cut came first. The race is ended as STOP would have ended it at its last pass, and the operator
// is told once. A journal that cannot be read is moved aside under a new name, never deleted; nothing
// in it stops the start.
class RaceRecovery {
public:
    using Tell = std::function<void(const QString& message)>;

    // Does nothing when there is no journal.
    static void recover(const QString& dataFolder, TRace& race, const Tell& tell);

    // Renames the file beside itself and returns the new path; empty when it could not be renamed.
    static QString moveAside(const QString& path);
};
