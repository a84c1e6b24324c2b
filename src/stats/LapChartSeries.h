#pragma once

#include <QStringList>
#include <QtGlobal>

#include <array>
#include <vector>

// One point of a kart's series: its lap number and the lap's value in hundredths. The gap point at
// position 0 repeats lap 1's value and is not drawn; it only makes the positions the lap numbers.
struct LapChartPoint {
    int lap = 0;
    qint64 value = 0;
    bool gap = false;

    bool operator==(const LapChartPoint& other) const {
        return lap == other.lap && value == other.value && gap == other.gap;
    }
};

// The four series of the lap chart, one per kart, built anew from the lap lists at every redraw.
class LapChartSeries {
public:
    static constexpr int KartCount = 4;
    using Laps = std::array<QStringList, KartCount>;
    using Shown = std::array<bool, KartCount>;

    // Lap by lap and, within a lap, kart 1 to 4: the points of every shown kart. An entry that is no
    // lap time ends the build there with a UserError naming the kart and the entry; the points added
    // before it stay.
    void rebuild(const Laps& laps, const Shown& shown);
    void clear();

    // kart 1..4
    const std::vector<LapChartPoint>& points(int kart) const { return m_points.at(kart - 1); }
    // The highest lap drawn, 0 with none.
    int lastLap() const;
    bool empty() const { return lastLap() == 0; }
    // The range of the values drawn; both 0 with none.
    qint64 lowestValue() const;
    qint64 highestValue() const;

private:
    std::array<std::vector<LapChartPoint>, KartCount> m_points;
};
