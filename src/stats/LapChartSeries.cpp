#include "stats/LapChartSeries.h"

#include "base/MessageText.h"
#include "base/UserError.h"
#include "stats/ChartLabels.h"

#include <algorithm>
#include <limits>

void LapChartSeries::rebuild(const Laps& laps, const Shown& shown) {
    clear();
    qsizetype longest = 0;
    for (const QStringList& kartLaps : laps)
        longest = std::max(longest, kartLaps.size());
    for (qsizetype j = 0; j < longest; ++j) {
        for (int k = 0; k < KartCount; ++k) {
            if (!shown[k] || laps[k].size() <= j)
                continue;
            const QString& entry = laps[k].at(j);
            qint64 value = 0;
            try {
                value = ChartLabels::chartValue(entry);
            } catch (const ConversionError&) {
                throw UserError(QStringLiteral("Záznam „%1“ (%2. kolo) motokáry %3 není čas kola; "
                                               "graf končí před ním.")
                                    .arg(shortenedForMessage(entry))
                                    .arg(j + 1)
                                    .arg(k + 1));
            }
            if (j == 0)
                m_points[k].push_back({0, value, true});
            m_points[k].push_back({int(j + 1), value, false});
        }
    }
}

void LapChartSeries::clear() {
    for (std::vector<LapChartPoint>& points : m_points)
        points.clear();
}

int LapChartSeries::lastLap() const {
    int last = 0;
    for (const std::vector<LapChartPoint>& points : m_points) {
        if (!points.empty())
            last = std::max(last, points.back().lap);
    }
    return last;
}

qint64 LapChartSeries::lowestValue() const {
    qint64 lowest = std::numeric_limits<qint64>::max();
    for (const std::vector<LapChartPoint>& points : m_points) {
        for (const LapChartPoint& point : points)
            lowest = std::min(lowest, point.value);
    }
    return empty() ? 0 : lowest;
}

qint64 LapChartSeries::highestValue() const {
    qint64 highest = std::numeric_limits<qint64>::min();
    for (const std::vector<LapChartPoint>& points : m_points) {
        for (const LapChartPoint& point : points)
            highest = std::max(highest, point.value);
    }
    return empty() ? 0 : highest;
}
