#include "cli/SheetData.h"

#include "base/UserError.h"
#include "cli/CliCommand.h"
#include "cli/CliParser.h"
#include "config/DataFolderChoice.h"
#include "config/SerialParameters.h"
#include "config/SettingsFile.h"
#include "printing/TPrintPreview.h"

#include <QFile>
#include <QFileInfo>
#include <QTextStream>

namespace {

QString pagesText(int count) {
    if (count == 1)
        return QStringLiteral("1 stránka");
    return QStringLiteral("%1 %2").arg(count).arg(count >= 2 && count <= 4 ? QStringLiteral("stránky")
                                                                           : QStringLiteral("stránek"));
}

// A folder, a FIFO or a device is no PDF, and its first bytes are not read.
bool isPdfFile(const QString& path) {
    if (!QFileInfo(path).isFile())
        return false;
    QFile file(path);
    return file.open(QIODevice::ReadOnly) && file.read(5) == "%PDF-";
}

} // namespace

int parseWithPdfOutput(CliParser& parser, const QStringList& args, CliStreams& streams) {
    const int parsed = parser.parse(args, streams);
    if (parsed >= 0)
        return parsed;
    const QStringList words = parser.arguments();
    if (words.isEmpty())
        return parser.usageError(QStringLiteral("Chybí jméno výstupního souboru PDF."), streams);
    if (!words.first().endsWith(QLatin1String(".pdf"), Qt::CaseInsensitive))
        return parser.usageError(
            QStringLiteral("Výstupní soubor „%1“ nekončí na .pdf; sestava se zapisuje jen do souboru PDF.")
                .arg(words.first()),
            streams);
    return -1;
}

SheetData SheetData::open(const QString& givenFolder) {
    const QString path = DataFolderChoice(givenFolder, DataFolderChoice::Environment::current()).folder();
    if (!QFileInfo(path).isDir())
        throw UserError(QStringLiteral("Složka s daty „%1“ neexistuje.").arg(path));
    SheetData data{DataFolder(QFileInfo(path).absoluteFilePath()), TSettings(), QImage()};
    SerialParameters serial;
    SettingsHooks hooks;
    hooks.logoLoaded = [&data](const QImage& loaded) { data.logo = loaded; };
    ReadSettingsFile(data.folder, data.settings, serial, hooks);
    return data;
}

void writeSheet(TPrintPreview& preview, const QString& output, CliStreams& streams) {
    const QFileInfo target(output);
    if ((target.exists() || target.isSymLink()) && !isPdfFile(output))
        throw UserError(
            QStringLiteral("Soubor „%1“ už existuje a není to PDF; sestava ho nepřepíše.").arg(output));
    preview.savePdf(output);
    streams.out << output << ": " << pagesText(preview.PageCount()) << "\n";
}
