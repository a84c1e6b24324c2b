#include "publish/PassTracker.h"

QList<PassTracker::Pass> PassTracker::update(const std::array<QList<qint64>, 4>& laps) {
    QList<Pass> passes;
    for (int kart = 1; kart <= 4; ++kart) {
        const QList<qint64>& list = laps.at(kart - 1);
        qsizetype& seen = m_counts.at(kart - 1);
        if (list.size() > seen) {
            qint64 raceMs = 0;
            for (qsizetype i = 0; i < list.size(); ++i) {
                raceMs += list.at(i);
                if (i >= seen)
                    passes.append({kart, int(i + 1), list.at(i), raceMs});
            }
        }
        seen = list.size();
    }
    return passes;
}
