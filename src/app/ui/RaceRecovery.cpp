#include "app/ui/RaceRecovery.h"

#include "base/UserError.h"
#include "timing/RaceJournalReader.h"
#include "timing/RaceJournalWriter.h"
#include "timing/TRace.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

QString native(const QString& path) {
    return QDir::toNativeSeparators(path);
}

} // namespace

QString RaceRecovery::moveAside(const QString& path) {
    const QFileInfo info(path);
    const QString stem = info.dir().filePath(
        QStringLiteral("probihajici zavod - necitelny %1")
            .arg(QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd HH-mm-ss"))));
    QString target = stem + QStringLiteral(".txt");
    for (int copy = 2; QFileInfo::exists(target) || QFileInfo(target).isSymLink(); ++copy)
        target = stem + QStringLiteral(" (%1).txt").arg(copy);
    // A rename moves whatever is there, a link or a folder too, without reading it.
    return QFile::rename(path, target) ? target : QString();
}

void RaceRecovery::recover(const QString& dataFolder, TRace& race, const Tell& tell) {
    const QString path = RaceJournalWriter::pathIn(dataFolder);
    const QFileInfo info(path);
    if (!info.exists() && !info.isSymLink())
        return;

    RecoveredRace recovered;
    try {
        recovered = RaceJournalReader::read(path);
    } catch (const UserError& error) {
        const QString aside = moveAside(path);
        tell(error.message() + QLatin1Char('\n') +
             (aside.isEmpty() ? QStringLiteral("Zůstává na svém místě a nový závod jej přepíše.")
                              : QStringLiteral("Byl ponechán pod jménem \"%1\".").arg(native(aside))));
        return;
    }

    QStringList notes;
    bool resume = true;
    if (recovered.truncated) {
        // Only its beginning was read: the whole file stays for whoever wants to look at it.
        const QString aside = moveAside(path);
        resume = false;
        notes << QStringLiteral("Deník závodu byl příliš velký, obnoven byl jen jeho začátek.") +
                     (aside.isEmpty()
                          ? QString()
                          : QStringLiteral(" Celý byl ponechán pod jménem \"%1\".").arg(native(aside)));
    }
    if (recovered.tornRecords > 0)
        notes << QStringLiteral(
            "Poslední záznam deníku nebyl celý zapsán (výpadek během zápisu) a byl vynechán.");
    if (recovered.badRecords > 0)
        notes << QStringLiteral("Vynechané nečitelné záznamy deníku: %1.").arg(recovered.badRecords);

    race.finishRecoveredRace(recovered, resume);

    const QString when = recovered.head.start.toString(QStringLiteral("d. M. yyyy H:mm"));
    QString message =
        QStringLiteral("Závod z %1 nebyl ukončen (výpadek programu nebo napájení). Jeho kola (%2) "
                       "byla obnovena a uložena.")
            .arg(when)
            .arg(recovered.passes);
    if (!notes.isEmpty())
        message += QLatin1Char('\n') + notes.join(QLatin1Char('\n'));
    tell(message);
}
