// results-pdf OUT.pdf [--data DIR] FILE1 [FILE2 [FILE3 [FILE4]]]: the results sheet of up to four
// karts from lap files ("-" is a kart without laps), with the print settings of the data folder.
#include "base/UserError.h"
#include "cli/CliCommand.h"
#include "cli/CliParser.h"
#include "cli/SheetData.h"
#include "printing/ResultsSheet.h"
#include "printing/TPrintPreview.h"
#include "timing/DriverNames.h"
#include "timing/LapFile.h"

#include <QFileInfo>
#include <QTextStream>

#include <array>

int runResultsPdfCommand(const QStringList& args, CliStreams& streams) {
    CliParser parser(runResultsPdfCommand,
                     QStringLiteral("VÝSTUP.pdf SOUBOR1 [SOUBOR2 [SOUBOR3 [SOUBOR4]]]"));
    const QCommandLineOption dataOption(QStringLiteral("data"),
                                        QStringLiteral("složka s daty (jinak složka programu)"),
                                        QStringLiteral("SLOŽKA"));
    parser.addOption(dataOption);
    parser.describeArgument(QStringLiteral("VÝSTUP.pdf"), QStringLiteral("soubor PDF, který se zapíše"));
    parser.describeArgument(QStringLiteral("SOUBOR1..4"),
                            QStringLiteral("soubory s časy kol motokár 1 až 4 („-“ pro káru bez kol)"));
    const int parsed = parser.parse(args, streams);
    if (parsed >= 0)
        return parsed;
    const QStringList words = parser.arguments();
    if (words.isEmpty())
        return parser.usageError(QStringLiteral("Chybí jméno výstupního souboru PDF."), streams);
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
        ResultsSheet::BuildResultsSheet(preview, mmHiMetric, laps, sheet);
        writeSheet(preview, words.first(), streams);
        return 0;
    } catch (const UserError& error) {
        streams.err << error.message() << "\n";
        return 1;
    }
}
