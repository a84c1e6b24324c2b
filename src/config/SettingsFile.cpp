#include "config/SettingsFile.h"

#include "base/ErrorBoundary.h"
#include "base/UserError.h"
#include "config/DataFolder.h"
#include "config/IniFile.h"
#include "config/SerialSection.h"
#include "config/SettingsTable.h"

#include <QFileInfo>

namespace {

void loadLogo(const DataFolder& folder, TSettings& settings, const SettingsHooks& hooks) {
    QImage logo;
    if (!settings.Tisk.Logo.isEmpty())
        logo.load(folder.filePath(settings.Tisk.Logo));
    if (logo.isNull()) {
        settings.Tisk.Logo.clear();
        callHook(hooks.logoUnavailable, folder.folderPath(QStringLiteral("Logo")));
    } else {
        callHook(hooks.logoLoaded, logo);
    }
}

void selectSound(const DataFolder& folder, TSettings& settings, const SettingsHooks& hooks) {
    const QString soundFolder = folder.folderPath(QStringLiteral("zvuky"));
    const auto present = [&](const QString& name) {
        const QFileInfo info(DataFolder::resolve(soundFolder, name));
        return !name.isEmpty() && info.isFile() ? info.fileName() : QString();
    };
    QString selected = present(fileNamePart(settings.Zvuk.jmeno));
    if (selected.isEmpty())
        selected = present(QStringLiteral("success.wav"));
    // Without either file the configured name stays, so a missing folder loses no setting.
    if (!selected.isEmpty())
        settings.Zvuk.jmeno = selected;
    callHook(hooks.selectSoundFile, soundFolder, settings.Zvuk.jmeno);
}

} // namespace

QString SettingsFilePath(const DataFolder& folder) {
    return folder.filePath(QStringLiteral("tarvolin.ini"));
}

void ReadSettingsKeys(const IniFile& ini, TSettings& settings) {
    for (const SettingKey& setting : settingsTable())
        setting.read(ini, settings);
}

void WriteSettingsKeys(IniFile& ini, const TSettings& settings) {
    for (const SettingKey& setting : settingsTable())
        setting.write(ini, settings);
}

void ReadSettingsFileKeys(const DataFolder& folder, TSettings& settings, SerialParameters& serial,
                          const SettingsHooks& hooks) {
    IniFile ini;
    // An unreadable file reads as an empty one: every key takes its default. One that is no regular
    // file (a FIFO, a device) is also said, since the operator has to put a real file in its place.
    QString refusal;
    ini.load(SettingsFilePath(folder), &refusal);
    if (!refusal.isEmpty())
        ErrorBoundary::reportMessage(refusal);

    ReadSerialSection(ini, serial);
    callHook(hooks.applySerialParameters, serial);
    ReadSettingsKeys(ini, settings);
}

void FinishReadingSettingsFile(const DataFolder& folder, TSettings& settings, const SettingsHooks& hooks) {
    loadLogo(folder, settings, hooks);
    selectSound(folder, settings, hooks);
}

void ReadSettingsFile(const DataFolder& folder, TSettings& settings, SerialParameters& serial,
                      const SettingsHooks& hooks) {
    ReadSettingsFileKeys(folder, settings, serial, hooks);
    FinishReadingSettingsFile(folder, settings, hooks);
}

void ReadWindowCreationSettings(const DataFolder& folder, TSettings& settings) {
    IniFile ini;
    ini.load(SettingsFilePath(folder));
    findSettingKey(u"Ostatni", u"OnTop")->read(ini, settings);
    findSettingKey(u"Ostatni", u"Priorita")->read(ini, settings);
}

void WriteSettingsKey(const DataFolder& folder, const TSettings& settings, const char* section,
                      const char* key) {
    const SettingKey* setting = findSettingKey(QString::fromLatin1(section), QString::fromLatin1(key));
    Q_ASSERT(setting);
    const QString path = SettingsFilePath(folder);
    IniFile ini;
    // As for the whole file: one that could not be read is not rewritten.
    if (!setting || !ini.load(path))
        throw UserError(QStringLiteral("Unable to write to %1").arg(path));
    setting->write(ini, settings);
    if (!ini.save(path))
        throw UserError(QStringLiteral("Unable to write to %1").arg(path));
}

void WriteSettingsFile(const DataFolder& folder, TSettings& settings, bool onTopAtActivation,
                       const SettingsHooks& hooks) {
    callHook(hooks.abortFtpTransfer);
    callHook(hooks.closeSerialPort);

    const QString path = SettingsFilePath(folder);
    const QString unableToWrite = QStringLiteral("Unable to write to %1").arg(path);
    IniFile ini;
    // Rewriting a file we could not read would lose its other sections ("ComPort1").
    QString reason;
    if (!ini.load(path, &reason))
        throw UserError(reason.isEmpty() ? unableToWrite : unableToWrite + QLatin1Char('\n') + reason);

    if (settings.Ftp.Hesla)
        settings.Ftp.Heslo.clear();
    WriteSettingsKeys(ini, settings);
    if (!ini.save(path))
        throw UserError(unableToWrite);

    callHook(hooks.applyExternalStart, settings.Ostatni.ExtStart);
    callHook(hooks.applyProcessPriority, settings.Ostatni.Priorita);
    callHook(hooks.applyWebPage);
    callHook(hooks.applyMqtt);
    if (settings.Ostatni.OnTop != onTopAtActivation)
        callHook(hooks.onTopChanged);
    callHook(hooks.writeRestingValue, quint8(settings.PoSpusteni.Base & 0xFF));
}
