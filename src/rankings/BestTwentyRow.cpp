#include "rankings/BestTwentyRow.h"

#include "timing/LapTime.h"

BestTwentyRow BestTwentyRow::empty(int rank) {
    return {{QString::number(rank), emptyName(), emptyTime()}};
}

BestTwentyRow BestTwentyRow::entered(const QString& name, qint64 lapMs, const QString& date) {
    // Ranked by the sort that follows every entry.
    return {{QStringLiteral("0"), name, FormatLapTime(lapMs), date}};
}

BestTwentyRow BestTwentyRow::fromLine(const QString& line) {
    return {line.split(QLatin1Char('\t'))};
}

QString BestTwentyRow::toLine() const {
    return fields.join(QLatin1Char('\t'));
}

void BestTwentyRow::setRank(int rank) {
    if (fields.isEmpty())
        fields << QString();
    fields[0] = QString::number(rank);
}

void BestTwentyRow::setName(const QString& name) {
    while (fields.size() < 2)
        fields << QString();
    fields[1] = name;
}

qint64 BestTwentyRow::timeValue() const {
    qint64 ms = 0;
    return fields.size() > 2 && TryParseLapTime(fields.at(2), &ms) ? ms : EmptyTimeMs;
}

bool BestTwentyRow::timeIsLapTime() const {
    qint64 ms = 0;
    return fields.size() > 2 && TryParseLapTime(fields.at(2), &ms);
}
