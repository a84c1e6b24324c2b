#include "printing/KeptRacePdf.h"

#include "base/UserError.h"
#include "printing/ResultsSheet.h"
#include "printing/TPrintPreview.h"
#include "timing/DriverNames.h"
#include "timing/LapFile.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTemporaryDir>

QByteArray keptRaceResultsPdf(const SheetSettings& base, const std::array<QString, 4>& lapFilePaths) {
    static const QRegularExpression started(
        QStringLiteral("^(\\d{4}-\\d{2}-\\d{2} \\d{2}-\\d{2}-\\d{2}) kara"));
    try {
        SheetSettings sheet = base;
        std::array<QStringList, 4> laps;
        for (int k = 0; k < 4; ++k) {
            const QString& path = lapFilePaths[k];
            if (path.isEmpty())
                continue;
            laps[k] = loadLapTimesFile(path);
            sheet.drivers[k] = DriverNames::keptNameOf(path);
            const QRegularExpressionMatch match = started.match(QFileInfo(path).fileName());
            const QDateTime start =
                QDateTime::fromString(match.captured(1), QStringLiteral("yyyy-MM-dd HH-mm-ss"));
            if (start.isValid()) {
                sheet.dateText = SheetSettings::dateTextOf(start);
                sheet.timeText = SheetSettings::timeTextOf(start);
            }
        }
        TPrintPreview preview;
        preview.setPaperType(TPrintPreview::pA4);
        preview.setOrientation(TPrintPreview::poLandscape);
        preview.setPrintJobTitle(QStringLiteral("tarvolin - časy"));
        ResultsSheet::BuildResultsSheet(preview, mmHiMetric, laps, sheet);
        QTemporaryDir dir;
        if (!dir.isValid())
            return {};
        const QString pdf = dir.filePath(QStringLiteral("vysledky.pdf"));
        preview.savePdf(pdf);
        QFile file(pdf);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    } catch (const UserError&) {
        return {};
    }
}
