#include "config/SerialSection.h"

#include "app/UserError.h"
#include "config/DataFolder.h"
#include "config/IniFile.h"
#include "config/SettingsFile.h"

namespace {

const QString& sectionName() {
    static const QString name = QString::fromUtf16(kSerialSectionName);
    return name;
}

const QStringList& baudRates() {
    static const QStringList values = {
        QStringLiteral("Custom"), QStringLiteral("110"),    QStringLiteral("300"),
        QStringLiteral("600"),    QStringLiteral("1200"),   QStringLiteral("2400"),
        QStringLiteral("4800"),   QStringLiteral("9600"),   QStringLiteral("14400"),
        QStringLiteral("19200"),  QStringLiteral("38400"),  QStringLiteral("56000"),
        QStringLiteral("57600"),  QStringLiteral("115200"), QStringLiteral("128000"),
        QStringLiteral("256000")};
    return values;
}

const QStringList& stopBits() {
    static const QStringList values = {QStringLiteral("1"), QStringLiteral("1.5"), QStringLiteral("2")};
    return values;
}

const QStringList& dataBits() {
    static const QStringList values = {QStringLiteral("5"), QStringLiteral("6"), QStringLiteral("7"),
                                       QStringLiteral("8")};
    return values;
}

const QStringList& parities() {
    static const QStringList values = {QStringLiteral("None"), QStringLiteral("Odd"), QStringLiteral("Even"),
                                       QStringLiteral("Mark"), QStringLiteral("Space")};
    return values;
}

const QStringList& flowControls() {
    static const QStringList values = {QStringLiteral("Hardware"), QStringLiteral("Software"),
                                       QStringLiteral("None"), QStringLiteral("Custom")};
    return values;
}

QString matchListed(const QString& value, const QStringList& list, const QString& fallBack) {
    for (const QString& entry : list) {
        if (entry.compare(value.trimmed(), Qt::CaseInsensitive) == 0)
            return entry;
    }
    return fallBack;
}

QString readListed(const IniFile& ini, const QString& key, const QString& current, const QStringList& list,
                   const QString& fallBack) {
    if (!ini.contains(sectionName(), key))
        return current;
    return matchListed(ini.readString(sectionName(), key, current), list, fallBack);
}

bool isCustomRate(const QString& baudRate) {
    return baudRate.compare(QStringLiteral("Custom"), Qt::CaseInsensitive) == 0;
}

} // namespace

void ReadSerialSection(const IniFile& ini, SerialParameters& parameters) {
    SerialParameters read = parameters;
    read.Port = ini.readString(sectionName(), QStringLiteral("Port"), parameters.Port);
    read.BaudRate =
        readListed(ini, QStringLiteral("BaudRate"), parameters.BaudRate, baudRates(), QStringLiteral("9600"));
    if (isCustomRate(read.BaudRate))
        read.CustomBaudRate =
            ini.readInt(sectionName(), QStringLiteral("CustomBaudRate"), parameters.CustomBaudRate);
    read.StopBits =
        readListed(ini, QStringLiteral("StopBits"), parameters.StopBits, stopBits(), QStringLiteral("1"));
    read.DataBits =
        readListed(ini, QStringLiteral("DataBits"), parameters.DataBits, dataBits(), QStringLiteral("8"));
    read.Parity =
        readListed(ini, QStringLiteral("Parity"), parameters.Parity, parities(), QStringLiteral("None"));
    read.FlowControl = readListed(ini, QStringLiteral("FlowControl"), parameters.FlowControl, flowControls(),
                                  QStringLiteral("Custom"));
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
    if (!ini.load(SettingsFilePath(folder)))
        throw UserError(QStringLiteral("Failed to load settings"));
    ReadSerialSection(ini, parameters);
}

void WriteSerialSection(const DataFolder& folder, const SerialParameters& parameters) {
    const QString path = SettingsFilePath(folder);
    IniFile ini;
    if (!ini.load(path))
        throw UserError(QStringLiteral("Failed to store settings"));
    WriteSerialSection(ini, parameters);
    if (!ini.save(path))
        throw UserError(QStringLiteral("Failed to store settings"));
}
