#include "backup/BackupChoices.h"

#include "backup/DosFileTime.h"
#include "base/StationLocale.h"

namespace BackupChoices {

QStringList sources(const QString& dataFolder, const std::array<bool, 4>& sets) {
    const std::array<QStringList, 4> names = {
        QStringList{QStringLiteral("tarvolin.ini")}, QStringList{QStringLiteral("stav.ini")},
        QStringList{QStringLiteral("topdeset.ini"), QStringLiteral("topdeset1.ini")},
        QStringList{QStringLiteral("vysledky/*.*")}};
    QStringList list;
    for (size_t set = 0; set < sets.size(); ++set) {
        if (!sets[set])
            continue;
        for (const QString& name : names[set])
            list << dataFolder + QLatin1Char('/') + name;
    }
    return list;
}

QString archivePath(const QString& folder, const QString& selectedFile, const QString& newName) {
    if (!selectedFile.isEmpty())
        return folder + QLatin1Char('/') + selectedFile;
    if (!newName.isEmpty())
        return folder + QLatin1Char('/') + newName + QStringLiteral(".bck");
    return folder + QStringLiteral("/zalohatarvolin.bck");
}

TCompressionLevel levelOfOption(int option) {
    constexpr TCompressionLevel levels[] = {clFastest, clDefault, clMax, clNone};
    return option >= 0 && option < 4 ? levels[option] : clFastest;
}

TRestoreMode modeOfOption(int option) {
    constexpr TRestoreMode modes[] = {rmAll, rmNoOverwrite, rmNewer, rmExisting, rmNoOverwrite};
    return option >= 0 && option < 5 ? modes[option] : rmAll;
}

QString modeHint(int option) {
    switch (option) {
    case 0:
        return QStringLiteral("Obnoví všechny soubory ze zálohy a přepíše stávající.");
    case 1:
    case 4:
        return QStringLiteral("Obnoví jen soubory, které neexistují; žádný stávající soubor nepřepíše.");
    case 2:
        return QStringLiteral("Obnoví jen soubory, které v záloze jsou novější než stávající nebo chybí; "
                              "novější soubor nikdy nepřepíše.");
    case 3:
        return QStringLiteral("Obnoví jen soubory, které existují, a přepíše je.");
    }
    return QString();
}

QString summary(int fileCount, qint64 totalSize) {
    qint64 kilobytes = totalSize / 1024;
    const qint64 rest = totalSize % 1024;
    if (rest * 2 > 1024 || (rest * 2 == 1024 && kilobytes % 2 == 1))
        ++kilobytes;
    return QString::number(fileCount) + QStringLiteral(" souborů, ") + QString::number(kilobytes) +
           QStringLiteral(" KB celkem");
}

QString listingLine(const QString& fileIdLine) {
    const qsizetype tab = fileIdLine.lastIndexOf(QLatin1Char('\t'));
    const QString path = fileIdLine.left(tab);
    const QString figures = fileIdLine.mid(tab + 1);
    const qint32 time = figures.section(QLatin1Char('='), 0, 0).toInt();
    const QString size = figures.section(QLatin1Char('='), 1);
    const QDateTime when = DosFileTime::toDateTime(time);
    const QString date =
        when.isValid() ? stationLocale().toString(when.date(), QLocale::ShortFormat) : QString();
    return path + QStringLiteral("  přidán ") + date + QStringLiteral(", ") + size + QStringLiteral(" bytes");
}

} // namespace BackupChoices
