#pragma once

#include <QString>
#include <QStringList>
#include <QtGlobal>

// One row of a best-twenty table as its file holds it: the rank, then the further fields in order
// (name, time, and whatever follows, which is carried along and written back). A row entered from a
// race has the race's date ("2026-12-09") as its fourth field.
struct BestTwentyRow {
    static constexpr qint64 EmptyTimeMs = 3'599'999; // "59:59:999", the largest lap time text
    static QString emptyName() { return QStringLiteral("noname"); }
    static QString emptyTime() { return QStringLiteral("59:59:999"); }

    QStringList fields; // rank, name, time, extras

    static BestTwentyRow empty(int rank);
    static BestTwentyRow entered(const QString& name, qint64 lapMs, const QString& date);
    // A line of a table file: cut at every TAB.
    static BestTwentyRow fromLine(const QString& line);
    QString toLine() const;

    QString field(int index) const { return fields.value(index); }
    QString rank() const { return field(0); }
    QString name() const { return field(1); }
    QString time() const { return field(2); }
    QString date() const { return field(3); }
    void setRank(int rank);
    void setName(const QString& name);

    // The time for every comparison; a time that is no lap time sorts as an empty row's.
    qint64 timeValue() const;
    bool timeIsLapTime() const;
};
