#include "printing/SheetPdfCommands.h"

#include "base/UserError.h"
#include "config/DataFolder.h"
#include "config/SerialParameters.h"
#include "config/SettingsFile.h"
#include "config/TSettings.h"
#include "printing/BestTwentySheet.h"
#include "printing/ResultsSheet.h"
#include "printing/TPrintPreview.h"
#include "rankings/BestTwentyFiles.h"
#include "rankings/TBestTwentyTable.h"
#include "rankings/TablePicture.h"
#include "timing/LapFile.h"

#include <QCoreApplication>
#include <QFileInfo>

#include <array>
#include <optional>

namespace {

struct Arguments {
    QString output;
    QString dataFolder;
    QStringList files;
};

// The output first, then "--data DIR" anywhere among the rest.
std::optional<Arguments> parse(const QStringList& args, QTextStream& err) {
    Arguments parsed;
    for (int i = 0; i < args.size(); ++i) {
        const QString& word = args.at(i);
        if (word == QLatin1String("--data")) {
            if (i + 1 >= args.size()) {
                err << "Za --data chybí složka s daty.\n";
                return std::nullopt;
            }
            parsed.dataFolder = args.at(++i);
        } else if (word.startsWith(QLatin1String("--data="))) {
            parsed.dataFolder = word.mid(7);
        } else if (word.startsWith(QLatin1String("--")) && word.size() > 2) {
            err << "Neznámá volba: " << word << "\n";
            return std::nullopt;
        } else if (parsed.output.isEmpty()) {
            parsed.output = word;
        } else {
            parsed.files << word;
        }
    }
    if (parsed.output.isEmpty()) {
        err << "Chybí jméno výstupního souboru PDF.\n";
        return std::nullopt;
    }
    return parsed;
}

// The data folder with the settings of its tarvolin.ini (defaults where it has none) and its logo.
DataFolder openDataFolder(const Arguments& args, TSettings& settings, QImage& logo) {
    const QString path = args.dataFolder.isEmpty() ? QCoreApplication::applicationDirPath() : args.dataFolder;
    if (!QFileInfo(path).isDir())
        throw UserError(QStringLiteral("Složka s daty „%1“ neexistuje.").arg(path));
    DataFolder folder(QFileInfo(path).absoluteFilePath());
    SerialParameters serial;
    SettingsHooks hooks;
    hooks.logoLoaded = [&logo](const QImage& loaded) { logo = loaded; };
    ReadSettingsFile(folder, settings, serial, hooks);
    return folder;
}

QString pagesText(int count) {
    if (count == 1)
        return QStringLiteral("1 stránka");
    return QStringLiteral("%1 %2").arg(count).arg(count >= 2 && count <= 4 ? QStringLiteral("stránky")
                                                                           : QStringLiteral("stránek"));
}

int report(const UserError& error, QTextStream& err) {
    err << error.message() << "\n";
    return 1;
}

} // namespace

int runResultsPdfCommand(const QStringList& args, QTextStream& out, QTextStream& err) {
    const std::optional<Arguments> parsed = parse(args, err);
    if (!parsed || parsed->files.isEmpty() || parsed->files.size() > 4) {
        if (parsed)
            err << "Zadejte jeden až čtyři soubory s časy kol (\"-\" pro káru bez kol).\n";
        err << "Použití: tarvolin-cli results-pdf VÝSTUP.pdf [--data SLOŽKA] SOUBOR1 [SOUBOR2 [SOUBOR3 "
               "[SOUBOR4]]]\n";
        return 2;
    }
    try {
        TSettings settings;
        QImage logo;
        openDataFolder(*parsed, settings, logo);
        std::array<QStringList, 4> laps;
        for (int k = 0; k < parsed->files.size(); ++k) {
            const QString& file = parsed->files.at(k);
            if (file == QLatin1String("-"))
                continue;
            if (!QFileInfo(file).isFile())
                throw UserError(QStringLiteral("Soubor s časy kol „%1“ neexistuje.").arg(file));
            laps[k] = loadLapTimesFile(file);
        }
        TPrintPreview preview;
        preview.setPaperType(TPrintPreview::pA4);
        preview.setOrientation(TPrintPreview::poLandscape);
        preview.setPrintJobTitle(QStringLiteral("tarvolin - časy"));
        ResultsSheet::BuildResultsSheet(preview, mmHiMetric, laps, SheetSettings::from(settings, logo));
        preview.savePdf(parsed->output);
        out << parsed->output << ": " << pagesText(preview.PageCount()) << "\n";
        return 0;
    } catch (const UserError& error) {
        return report(error, err);
    }
}

int runTop20PdfCommand(const QStringList& args, QTextStream& out, QTextStream& err) {
    const std::optional<Arguments> parsed = parse(args, err);
    if (!parsed || !parsed->files.isEmpty()) {
        if (parsed)
            err << "Nadbytečné argumenty: " << parsed->files.join(QLatin1Char(' ')) << "\n";
        err << "Použití: tarvolin-cli top20-pdf VÝSTUP.pdf [--data SLOŽKA]\n";
        return 2;
    }
    try {
        TSettings settings;
        QImage logo;
        const DataFolder folder = openDataFolder(*parsed, settings, logo);
        std::array<QImage, 2> pictures;
        for (const BestTwentyFiles::Table t : {BestTwentyFiles::Men, BestTwentyFiles::Women}) {
            const QString path = folder.filePath(BestTwentyFiles::fileName(t));
            if (!QFileInfo(path).isFile())
                throw UserError(QStringLiteral("Soubor tabulky „%1“ neexistuje.").arg(path));
            TBestTwentyTable table;
            table.load(path);
            pictures[t] = TablePicture::draw(table, BestTwentyTables::Table(t));
        }
        TPrintPreview preview;
        preview.setPaperType(TPrintPreview::pA4);
        preview.setOrientation(TPrintPreview::poPortrait);
        preview.setPrintJobTitle(QStringLiteral("tarvolin - top dvacet"));
        BestTwentySheet::BuildBestTwentySheet(preview, mmHiMetric, pictures[0], pictures[1],
                                              SheetSettings::from(settings, logo));
        preview.savePdf(parsed->output);
        out << parsed->output << ": " << pagesText(preview.PageCount()) << "\n";
        return 0;
    } catch (const UserError& error) {
        return report(error, err);
    }
}
