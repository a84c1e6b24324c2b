#pragma once

#include "timing/JournalSink.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <QtGlobal>

#include <array>

// An unfinished race as its journal tells it: the laps as measured and the lists as the operator
// left them, with what its end had already done.
struct RecoveredRace {
    JournalHead head;
    std::array<QList<qint64>, 4> measured; // kart 1..4's laps in ms, as the race measured them
    std::array<QStringList, 4> lists;      // kart 1..4's lap lists as the operator left them
    int passes = 0;
    bool engineTimeStored = false;
    bool lapFilesKept = false;
    // A last record cut off by the end of the file (the power went while it was written).
    int tornRecords = 0;
    // Complete lines that are no record, or a record with impossible values: skipped.
    int badRecords = 0;
    // The file went on beyond what a journal can hold: only its beginning was read.
    bool truncated = false;
    // The length of the file up to its last complete line.
    qint64 validBytes = 0;
};

// Reads a journal in bounded memory and time, whatever the file holds.
class RaceJournalReader {
public:
    // Throws UserError when the file is no journal at all: it cannot be opened, is not a regular
    // file, or lacks the head with the start.
    static RecoveredRace read(const QString& path);
};
