#include "config/SerialSection.h"
#include "base/UserError.h"
#include "config/IniFile.h"
#include "config/SettingsFile.h"

#include "TempDataFolder.h"

#include <gtest/gtest.h>

TEST(SerialSection, MissingKeysKeepTheCurrentValues) {
    SerialParameters parameters;
    parameters.Port = QStringLiteral("/dev/ttyUSB0");
    parameters.Parity = QStringLiteral("Even");
    const SerialParameters before = parameters;
    ReadSerialSection(IniFile::fromBytes("[Other]\nPort=COM9\n"), parameters);
    EXPECT_EQ(parameters, before);
}

TEST(SerialSection, ValuesMatchWithoutCaseAndTakeTheListSpelling) {
    SerialParameters parameters;
    ReadSerialSection(
        IniFile::fromBytes("[comport1]\nport=COM3\nbaudrate=115200\nSTOPBITS=1.5\ndatabits=7\nparity=odd\n"
                           "flowcontrol=HARDWARE\n"),
        parameters);
    EXPECT_EQ(parameters.Port, QStringLiteral("COM3"));
    EXPECT_EQ(parameters.BaudRate, QStringLiteral("115200"));
    EXPECT_EQ(parameters.StopBits, QStringLiteral("1.5"));
    EXPECT_EQ(parameters.DataBits, QStringLiteral("7"));
    EXPECT_EQ(parameters.Parity, QStringLiteral("Odd"));
    EXPECT_EQ(parameters.FlowControl, QStringLiteral("Hardware"));
}

TEST(SerialSection, UnknownValuesFallBackPerKey) {
    SerialParameters parameters;
    parameters.BaudRate = QStringLiteral("19200");
    parameters.StopBits = QStringLiteral("2");
    parameters.DataBits = QStringLiteral("7");
    parameters.Parity = QStringLiteral("Odd");
    parameters.FlowControl = QStringLiteral("Hardware");
    ReadSerialSection(
        IniFile::fromBytes(
            "[ComPort1]\nBaudRate=9601\nStopBits=3\nDataBits=9\nParity=Sometimes\nFlowControl=x\n"),
        parameters);
    EXPECT_EQ(parameters.BaudRate, QStringLiteral("9600"));
    EXPECT_EQ(parameters.StopBits, QStringLiteral("1"));
    EXPECT_EQ(parameters.DataBits, QStringLiteral("8"));
    EXPECT_EQ(parameters.Parity, QStringLiteral("None"));
    EXPECT_EQ(parameters.FlowControl, QStringLiteral("Custom"));
}

TEST(SerialSection, CustomRateIsReadAndWrittenOnlyWhileCustom) {
    SerialParameters parameters;
    ReadSerialSection(IniFile::fromBytes("[ComPort1]\nBaudRate=9600\nCustomBaudRate=31250\n"), parameters);
    EXPECT_EQ(parameters.CustomBaudRate, 9600);
    ReadSerialSection(IniFile::fromBytes("[ComPort1]\nBaudRate=custom\nCustomBaudRate=31250\n"), parameters);
    EXPECT_EQ(parameters.BaudRate, QStringLiteral("Custom"));
    EXPECT_EQ(parameters.CustomBaudRate, 31250);

    IniFile ini;
    WriteSerialSection(ini, parameters);
    EXPECT_EQ(ini.serialize(),
              QByteArray("[ComPort1]\r\nPort=COM1\r\nBaudRate=Custom\r\nCustomBaudRate=31250\r\n"
                         "StopBits=1\r\nDataBits=8\r\nParity=None\r\nFlowControl=None\r\n"));
    parameters.BaudRate = QStringLiteral("57600");
    WriteSerialSection(ini, parameters);
    EXPECT_FALSE(ini.contains(QStringLiteral("ComPort1"), QStringLiteral("CustomBaudRate")));
    SerialParameters reread;
    ReadSerialSection(ini, reread);
    EXPECT_EQ(reread.BaudRate, QStringLiteral("57600"));
}

TEST(SerialSection, FileLevelKeepsTheOtherSectionsAndReportsFailures) {
    TempDataFolder temp;
    temp.writeFile(QStringLiteral("Tarvolin.INI"), "[HW]\r\nLOG0=300\r\n");
    SerialParameters parameters;
    parameters.Port = QStringLiteral("/dev/pts/7");
    WriteSerialSection(temp.dataFolder(), parameters);
    const QByteArray written = temp.readFile(QStringLiteral("Tarvolin.INI"));
    EXPECT_TRUE(written.startsWith("[HW]\r\nLOG0=300\r\n[ComPort1]\r\nPort=/dev/pts/7\r\n"));
    EXPECT_FALSE(temp.exists(QStringLiteral("tarvolin.ini")));

    SerialParameters reread;
    ReadSerialSection(temp.dataFolder(), reread);
    EXPECT_EQ(reread, parameters);

    TempDataFolder broken;
    broken.makeFolder(QStringLiteral("tarvolin.ini")); // a folder where the file should be
    try {
        WriteSerialSection(broken.dataFolder(), parameters);
        FAIL() << "no error";
    } catch (const UserError& error) {
        // The second line says why: a folder is no file the station reads or replaces.
        EXPECT_TRUE(error.message().startsWith(QStringLiteral("Failed to store settings\nSoubor ")));
    }
    try {
        ReadSerialSection(broken.dataFolder(), reread);
        FAIL() << "no error";
    } catch (const UserError& error) {
        EXPECT_TRUE(error.message().startsWith(QStringLiteral("Failed to load settings\nSoubor ")));
    }
}
