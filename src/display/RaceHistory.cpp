#include "display/RaceHistory.h"

#include "base/UserError.h"
#include "timing/DriverNames.h"
#include "timing/LapFile.h"
#include "timing/LapTime.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>

#include <algorithm>

namespace {

constexpr qint64 ShortestLapMs = 40;

QList<qint64> lapsOf(const QString& path) {
    QList<qint64> laps;
    try {
        for (const QString& entry : loadLapFile(path)) {
            qint64 ms = 0;
            if (TryParseLapTime(entry, &ms))
                laps.append(ms);
        }
    } catch (const UserError&) {
        // A kept file that cannot be read shows as a kart without laps.
    }
    return laps;
}

} // namespace

int KeptRace::karts() const {
    return int(
        std::count_if(lapFiles.begin(), lapFiles.end(), [](const QString& f) { return !f.isEmpty(); }));
}

RaceHistory::RaceHistory(QString folder) : m_folder(std::move(folder)) {}

bool RaceHistory::validId(const QString& id) {
    static const QRegularExpression pattern(
        QStringLiteral("^\\d{4}-\\d{2}-\\d{2}_\\d{2}-\\d{2}-\\d{2}(_[1-9]\\d{0,3})?$"));
    return id.size() <= 24 && pattern.match(id).hasMatch();
}

// "yyyy-MM-dd HH-mm-ss karaK.txt" or "… karaK (n).txt", checked character by character: a folder may
// hold tens of thousands, and a pattern match or a date parse for each costs more than the rest of
// the listing.
std::optional<RaceHistory::FileRef> RaceHistory::parseFileName(const QString& name) {
    static const QString shape = QStringLiteral("dddd-dd-dd dd-dd-dd karaN");
    if (name.size() < shape.size() + 4)
        return std::nullopt;
    for (int i = 0; i < shape.size(); ++i) {
        const QChar c = name[i];
        const QChar want = shape[i];
        if (want == QLatin1Char('d')   ? !(c >= QLatin1Char('0') && c <= QLatin1Char('9'))
            : want == QLatin1Char('N') ? !(c >= QLatin1Char('1') && c <= QLatin1Char('4'))
                                       : c != want)
            return std::nullopt;
    }
    const QStringView rest = QStringView(name).mid(shape.size());
    QString copy;
    if (rest != QLatin1String(".txt")) {
        // " (n).txt"
        if (!rest.startsWith(QLatin1String(" (")) || !rest.endsWith(QLatin1String(").txt")) ||
            rest.size() < 8 || rest.size() > 11)
            return std::nullopt;
        const QStringView digits = rest.mid(2, rest.size() - 7);
        bool ok = false;
        const int n = digits.toInt(&ok);
        if (!ok || n < 1 || digits.startsWith(QLatin1Char('0')) || digits.startsWith(QLatin1Char('+')))
            return std::nullopt;
        if (n > 1)
            copy = QString::number(n);
    }
    const auto number = [&name](int at, int length) { return QStringView(name).mid(at, length).toInt(); };
    const QDate day(number(0, 4), number(5, 2), number(8, 2));
    const QTime time(number(11, 2), number(14, 2), number(17, 2));
    if (!day.isValid() || !time.isValid())
        return std::nullopt;
    QString id = name.left(19);
    id[10] = QLatin1Char('_');
    if (!copy.isEmpty())
        id += QLatin1Char('_') + copy;
    return FileRef{id, QDateTime(day, time), name[24].digitValue()};
}

QString RaceHistory::filePath(const QString& name) const {
    return QDir(m_folder).filePath(name);
}

void RaceHistory::rescanIfChanged() {
    const QFileInfo folder(m_folder);
    const QDateTime changed = folder.exists() ? folder.lastModified() : QDateTime();
    const qint64 nowMs = QDateTime::currentMSecsSinceEpoch();
    // A folder changed within the last seconds may still get files of the same race; until it has
    // been quiet for a while, it is read again, at most once a second.
    const bool settled = !changed.isValid() || m_scannedAtMs - changed.toMSecsSinceEpoch() > 3000;
    if (m_scannedAtMs != 0 && changed == m_folderChanged && (settled || nowMs - m_scannedAtMs < 1000))
        return;
    m_folderChanged = changed;
    m_scannedAtMs = nowMs;
    QHash<QString, KeptRace> byId;
    const QStringList names = QDir(m_folder).entryList(QDir::Files | QDir::NoDotAndDotDot, QDir::NoSort);
    for (const QString& name : names) {
        const std::optional<FileRef> ref = parseFileName(name);
        if (!ref)
            continue;
        KeptRace& race = byId[ref->id];
        race.id = ref->id;
        race.start = ref->start;
        race.lapFiles[ref->kart - 1] = name;
    }
    m_races = byId.values();
    // Newest first; of races started in the same second the later copy first.
    const auto copyOf = [](const QString& id) { return id.size() > 19 ? id.mid(20).toInt() : 1; };
    std::sort(m_races.begin(), m_races.end(), [&copyOf](const KeptRace& a, const KeptRace& b) {
        if (a.start != b.start)
            return a.start > b.start;
        return copyOf(a.id) > copyOf(b.id);
    });
    m_index.clear();
    for (int i = 0; i < m_races.size(); ++i)
        m_index.insert(m_races[i].id, i);
}

const QList<KeptRace>& RaceHistory::races() {
    rescanIfChanged();
    return m_races;
}

std::optional<KeptRace> RaceHistory::find(const QString& id) {
    if (!validId(id))
        return std::nullopt;
    rescanIfChanged();
    const auto it = m_index.constFind(id);
    if (it == m_index.constEnd())
        return std::nullopt;
    return m_races.at(*it);
}

KeptRaceSummary RaceHistory::summary(const KeptRace& race) {
    KeptRaceSummary total;
    for (const QString& name : race.lapFiles) {
        if (name.isEmpty())
            continue;
        const QFileInfo info(filePath(name));
        CachedSummary& cached = m_summaries[name];
        if (cached.changed != info.lastModified() || cached.size != info.size() ||
            !cached.changed.isValid()) {
            cached.changed = info.lastModified();
            cached.size = info.size();
            cached.summary = {};
            for (qint64 lap : lapsOf(info.filePath())) {
                ++cached.summary.laps;
                if (lap > ShortestLapMs && (!cached.summary.best || lap < *cached.summary.best))
                    cached.summary.best = lap;
            }
        }
        total.laps += cached.summary.laps;
        if (cached.summary.best && (!total.best || *cached.summary.best < *total.best))
            total.best = cached.summary.best;
    }
    return total;
}

std::optional<KeptRaceDetail> RaceHistory::open(const QString& id) {
    const std::optional<KeptRace> race = find(id);
    if (!race)
        return std::nullopt;
    KeptRaceDetail detail;
    detail.race = *race;
    for (int k = 0; k < 4; ++k) {
        const QString& name = race->lapFiles[k];
        if (name.isEmpty())
            continue;
        const QString path = filePath(name);
        detail.laps[k] = lapsOf(path);
        try {
            detail.drivers[k] = DriverNames::keptNameOf(path);
        } catch (const UserError&) {
            // Without its names file the race shows its karts.
        }
    }
    return detail;
}
