// top20-pdf OUT.pdf [--data DIR]: the best-twenty sheet from the data folder's table files.
#include "base/UserError.h"
#include "cli/CliCommand.h"
#include "cli/CliParser.h"
#include "cli/SheetData.h"
#include "printing/BestTwentySheet.h"
#include "printing/TPrintPreview.h"
#include "rankings/BestTwentyFiles.h"
#include "rankings/TBestTwentyTable.h"
#include "rankings/TablePicture.h"

#include <QFileInfo>
#include <QTextStream>

#include <array>

int runTop20PdfCommand(const QStringList& args, CliStreams& streams) {
    CliParser parser(runTop20PdfCommand, QStringLiteral("VÝSTUP.pdf"));
    const QCommandLineOption dataOption = CliParser::dataOption();
    parser.addOption(dataOption);
    parser.describeArgument(QStringLiteral("VÝSTUP.pdf"), QStringLiteral("soubor PDF, který se zapíše"));
    const int parsed = parseWithPdfOutput(parser, args, streams);
    if (parsed >= 0)
        return parsed;
    const QStringList words = parser.arguments();
    if (words.size() > 1)
        return parser.usageError(
            QStringLiteral("Nadbytečné argumenty: ") + words.mid(1).join(QLatin1Char(' ')), streams);
    try {
        const SheetData data = SheetData::open(parser.value(dataOption));
        std::array<QImage, 2> pictures;
        for (const BestTwentyFiles::Table t : {BestTwentyFiles::Men, BestTwentyFiles::Women}) {
            const QString path = data.folder.filePath(BestTwentyFiles::fileName(t));
            if (!QFileInfo(path).isFile())
                throw UserError(QStringLiteral("Soubor tabulky „%1“ neexistuje.").arg(path));
            TBestTwentyTable table;
            table.load(path);
            pictures[t] = TablePicture::draw(table, t);
        }
        TPrintPreview preview;
        preview.setPaperType(TPrintPreview::pA4);
        preview.setOrientation(TPrintPreview::poPortrait);
        preview.setPrintJobTitle(QStringLiteral("tarvolin - top dvacet"));
        BestTwentySheet::BuildBestTwentySheet(preview, mmHiMetric, pictures[0], pictures[1],
                                              SheetSettings::from(data.settings, data.logo));
        writeSheet(preview, words.first(), streams);
        return 0;
    } catch (const UserError& error) {
        streams.err << error.message() << "\n";
        return 1;
    }
}
