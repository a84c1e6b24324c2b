#include "timing/DriverNames.h"

#include "base/UserError.h"
#include "timing/LapFile.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>

#include <algorithm>

DriverNames::DriverNames(QObject* parent) : QObject(parent) {}

QString DriverNames::shownName(int kart) const {
    const QString& given = m_names.at(kart - 1);
    return given.isEmpty() ? kartIdentifier(kart) : given;
}

bool DriverNames::anyName() const {
    return std::any_of(m_names.begin(), m_names.end(), [](const QString& n) { return !n.isEmpty(); });
}

void DriverNames::setName(int kart, const QString& name) {
    m_fromLastRace.at(kart - 1) = false;
    const QString trimmed = name.trimmed();
    if (m_names.at(kart - 1) == trimmed)
        return;
    m_names.at(kart - 1) = trimmed;
    emit changed();
}

void DriverNames::setWoman(int kart, bool woman) {
    if (m_women.at(kart - 1) == woman)
        return;
    m_women.at(kart - 1) = woman;
    emit changed();
}

void DriverNames::markRaceEnded() {
    m_fromLastRace.fill(true);
}

void DriverNames::clearFromLastRace() {
    bool cleared = false;
    for (int k = 0; k < KartCount; ++k) {
        if (m_fromLastRace[k] && !m_names[k].isEmpty()) {
            m_names[k].clear();
            cleared = true;
        }
        m_fromLastRace[k] = false;
    }
    if (cleared)
        emit changed();
}

namespace {

QRegularExpressionMatch keptLapMatch(const QString& lapFilePath) {
    static const QRegularExpression keptLap(QStringLiteral(" kara([1-4])( \\(\\d+\\))?\\.txt$"),
                                            QRegularExpression::CaseInsensitiveOption);
    return keptLap.match(lapFilePath);
}

} // namespace

QString DriverNames::keptFileBeside(const QString& lapFilePath) {
    const QRegularExpressionMatch match = keptLapMatch(lapFilePath);
    if (!match.hasMatch())
        return {};
    return lapFilePath.left(match.capturedStart()) + QStringLiteral(" jezdci") + match.captured(2) +
           QStringLiteral(".txt");
}

QString DriverNames::keptNameOf(const QString& lapFilePath) {
    const QString beside = keptFileBeside(lapFilePath);
    if (beside.isEmpty() || !QFileInfo(beside).isFile())
        return {};
    return load(beside).at(keptLapMatch(lapFilePath).captured(1).toInt() - 1);
}

void DriverNames::save(const QString& path, const std::array<QString, KartCount>& names) {
    saveLapFile(path, QStringList(names.begin(), names.end()));
}

std::array<QString, DriverNames::KartCount> DriverNames::load(const QString& path) {
    const QStringList lines = loadLapFile(path);
    std::array<QString, KartCount> names;
    for (int k = 0; k < KartCount && k < lines.size(); ++k)
        names[k] = lines[k].trimmed();
    return names;
}

QStringList DriverNames::keptNamesIn(const QString& folder) {
    QStringList all;
    const QDir dir(folder);
    const QStringList files =
        dir.entryList({QStringLiteral("* jezdci*.txt")}, QDir::Files | QDir::Readable, QDir::Name);
    for (const QString& file : files) {
        try {
            for (const QString& name : load(dir.filePath(file))) {
                if (!name.isEmpty())
                    all << name;
            }
        } catch (const UserError&) {
            // A kept file that cannot be read offers no names; the window works without them.
        }
    }
    all.removeDuplicates();
    all.sort(Qt::CaseInsensitive);
    return all;
}
