#include "cli/SheetData.h"

#include "base/UserError.h"
#include "cli/CliCommand.h"
#include "config/DataFolderChoice.h"
#include "config/SerialParameters.h"
#include "config/SettingsFile.h"
#include "printing/TPrintPreview.h"

#include <QFileInfo>
#include <QTextStream>

namespace {

QString pagesText(int count) {
    if (count == 1)
        return QStringLiteral("1 stránka");
    return QStringLiteral("%1 %2").arg(count).arg(count >= 2 && count <= 4 ? QStringLiteral("stránky")
                                                                           : QStringLiteral("stránek"));
}

} // namespace

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
    preview.savePdf(output);
    streams.out << output << ": " << pagesText(preview.PageCount()) << "\n";
}
