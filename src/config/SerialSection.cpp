#include "config/SerialSection.h"

#include "base/UserError.h"
#include "config/DataFolder.h"
#include "config/IniFile.h"
#include "config/SerialValueLists.h"
#include "config/SettingsFile.h"

namespace {

const QString& sectionName() {
    static const QString name = QString::fromUtf16(kSerialSectionName);
    return name;
}

QString readListed(const IniFile& ini, const QString& key, const QString& current, const QStringList& list,
                   const QString& fallBack) {
    if (!ini.contains(sectionName(), key))
        return current;
    return SerialValueLists::match(list, ini.readString(sectionName(), key, current), fallBack);
}

QString withReason(const QString& message, const QString& reason) {
    return reason.isEmpty() ? message : message + QLatin1Char('\n') + reason;
}

bool isCustomRate(const QString& baudRate) {
    return baudRate.compare(QStringLiteral("Custom"), Qt::CaseInsensitive) == 0;
}

} // namespace

void ReadSerialSection(const IniFile& ini, SerialParameters& parameters) {
    SerialParameters read = parameters;
    read.Port = ini.readString(sectionName(), QStringLiteral("Port"), parameters.Port);
    read.BaudRate = readListed(ini, QStringLiteral("BaudRate"), parameters.BaudRate,
                               SerialValueLists::baudRates(), QStringLiteral("9600"));
    if (isCustomRate(read.BaudRate))
        read.CustomBaudRate =
            ini.readInt(sectionName(), QStringLiteral("CustomBaudRate"), parameters.CustomBaudRate);
    read.StopBits = readListed(ini, QStringLiteral("StopBits"), parameters.StopBits,
                               SerialValueLists::stopBits(), QStringLiteral("1"));
    read.DataBits = readListed(ini, QStringLiteral("DataBits"), parameters.DataBits,
                               SerialValueLists::dataBits(), QStringLiteral("8"));
    read.Parity = readListed(ini, QStringLiteral("Parity"), parameters.Parity, SerialValueLists::parities(),
                             QStringLiteral("None"));
    read.FlowControl = readListed(ini, QStringLiteral("FlowControl"), parameters.FlowControl,
                                  SerialValueLists::flowControls(), QStringLiteral("Custom"));
    parameters = read;
}

void WriteSerialSection(IniFile& ini, const SerialParameters& parameters) {
    ini.writeString(sectionName(), QStringLiteral("Port"), parameters.Port);
    ini.writeString(sectionName(), QStringLiteral("BaudRate"), parameters.BaudRate);
    if (isCustomRate(parameters.BaudRate))
        ini.writeInt(sectionName(), QStringLiteral("CustomBaudRate"), parameters.CustomBaudRate);
    else
        ini.removeKey(sectionName(), QStringLiteral("CustomBaudRate"));
    ini.writeString(sectionName(), QStringLiteral("StopBits"), parameters.StopBits);
    ini.writeString(sectionName(), QStringLiteral("DataBits"), parameters.DataBits);
    ini.writeString(sectionName(), QStringLiteral("Parity"), parameters.Parity);
    ini.writeString(sectionName(), QStringLiteral("FlowControl"), parameters.FlowControl);
}

void ReadSerialSection(const DataFolder& folder, SerialParameters& parameters) {
    IniFile ini;
    QString refusal;
    if (!ini.load(SettingsFilePath(folder), &refusal))
        throw UserError(withReason(QStringLiteral("Failed to load settings"), refusal));
    ReadSerialSection(ini, parameters);
}

void WriteSerialSection(const DataFolder& folder, const SerialParameters& parameters) {
    const QString path = SettingsFilePath(folder);
    IniFile ini;
    QString refusal;
    if (!ini.load(path, &refusal))
        throw UserError(withReason(QStringLiteral("Failed to store settings"), refusal));
    WriteSerialSection(ini, parameters);
    if (!ini.save(path))
        throw UserError(QStringLiteral("Failed to store settings"));
}
