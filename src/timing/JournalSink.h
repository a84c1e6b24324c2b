#pragma once

#include <QDateTime>
#include <QString>
#include <QStringList>
#include <QtGlobal>

#include <array>

// What a race's journal starts with.
struct JournalHead {
    QDateTime start;              // local time of the start, to the second
    int raceMinutes = 0;          // `CasZavodu` at the start
    QString sensors;              // the sensor source, as the operator would name it
    std::array<QString, 4> names; // the karts' drivers where the station knows them; empty otherwise
};

// The steps of the race's end that, once done, a recovery must not do twice.
enum class JournalStep { EngineTimeStored, LapFilesKept };

// Where the race writes its journal. Every call returns once its record is durable; a record that
// cannot be written throws UserError (the race goes on without it and says so).
class JournalSink {
public:
    virtual ~JournalSink() = default;
    // A new journal in place of any old one.
    virtual void begin(const JournalHead& head) = 0;
    // The journal of an unfinished race, to record how its end goes; its torn tail (beyond
    // validBytes) is cut off.
    virtual void resume(qint64 validBytes) = 0;
    virtual bool isOpen() const = 0;
    // A pass of kart 1..4: the lap as measured and the pass instant from the start.
    virtual void pass(int kart, qint64 lapMs, qint64 passUs) = 0;
    // The operator changed kart 1..4's list: these are its entries now.
    virtual void listChanged(int kart, const QStringList& entries) = 0;
    virtual void step(JournalStep step) = 0;
    // The race has ended in full: the journal goes.
    virtual void finish() = 0;
};
