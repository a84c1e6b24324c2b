// results-pdf OUT.pdf [--data DIR] FILE1 [FILE2 [FILE3 [FILE4]]]: the results sheet of up to four
// karts from lap files ("-" is a kart without laps), with the print settings of the data folder and
// the date of the race the files hold.
#include "base/UserError.h"
#include "cli/CliCommand.h"
#include "cli/CliParser.h"
#include "cli/SheetData.h"
#include "printing/ResultsSheet.h"
#include "printing/TPrintPreview.h"
#include "timing/DriverNames.h"
#include "timing/LapFile.h"

#include <QDateTime>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTextStream>

#include <array>

namespace {

// When the race was run: a lap file kept by the station is named after the race's start
// ("2024-05-18 14-03-27 kara1.txt", a copy with " (2)" before ".txt"); any other file was written
// when its race was saved. A reprint then shows the race's date, not today's. Null without files.
QDateTime raceMoment(const QStringList& files) {
    static const QRegularExpression kept(
        QStringLiteral("^(\\d{4}-\\d{2}-\\d{2} \\d{2}-\\d{2}-\\d{2}) kara[1-4]( \\(\\d+\\))?\\.txt$"),
        QRegularExpression::CaseInsensitiveOption);
    for (const QString& file : files) {
        const QRegularExpressionMatch match = kept.match(QFileInfo(file).fileName());
        const QDateTime start =
            QDateTime::fromString(match.captured(1), QStringLiteral("yyyy-MM-dd HH-mm-ss"));
        if (match.hasMatch() && start.isValid())
            return start;
    }
    for (const QString& file : files)
        if (file != QLatin1String("-"))
            return QFileInfo(file).lastModified();
    return {};
}

} // namespace

int runResultsPdfCommand(const QStringList& args, CliStreams& streams) {
    CliParser parser(runResultsPdfCommand,
                     QStringLiteral("VÝSTUP.pdf SOUBOR1 [SOUBOR2 [SOUBOR3 [SOUBOR4]]]"));
    const QCommandLineOption dataOption = CliParser::dataOption();
    parser.addOption(dataOption);
    parser.describeArgument(QStringLiteral("VÝSTUP.pdf"), QStringLiteral("soubor PDF, který se zapíše"));
    parser.describeArgument(QStringLiteral("SOUBOR1..4"),
                            QStringLiteral("soubory s časy kol motokár 1 až 4 („-“ pro káru bez kol)"));
    const int parsed = parseWithPdfOutput(parser, args, streams);
    if (parsed >= 0)
        return parsed;
    const QStringList words = parser.arguments();
    const QStringList files = words.mid(1);
    if (files.isEmpty() || files.size() > 4)
        return parser.usageError(
            QStringLiteral("Zadejte jeden až čtyři soubory s časy kol („-“ pro káru bez kol)."), streams);
    try {
        const SheetData data = SheetData::open(parser.value(dataOption));
        std::array<QStringList, 4> laps;
        SheetSettings sheet = SheetSettings::from(data.settings, data.logo);
        for (int k = 0; k < files.size(); ++k) {
            const QString& file = files.at(k);
            if (file == QLatin1String("-"))
                continue;
            if (!QFileInfo(file).isFile())
                throw UserError(QStringLiteral("Soubor s časy kol „%1“ neexistuje.").arg(file));
            laps[k] = loadLapTimesFile(file);
            // A race kept in "vysledky" knows its drivers.
            sheet.drivers[k] = DriverNames::keptNameOf(file);
        }
        TPrintPreview preview;
        preview.setPaperType(TPrintPreview::pA4);
        preview.setOrientation(TPrintPreview::poLandscape);
        preview.setPrintJobTitle(QStringLiteral("tarvolin - časy"));
        if (const QDateTime raced = raceMoment(files); raced.isValid()) {
            sheet.dateText = SheetSettings::dateTextOf(raced);
            sheet.timeText = SheetSettings::timeTextOf(raced);
        }
        ResultsSheet::BuildResultsSheet(preview, mmHiMetric, laps, sheet);
        writeSheet(preview, words.first(), streams);
        return 0;
    } catch (const UserError& error) {
        streams.err << error.message() << "\n";
        return 1;
    }
}
