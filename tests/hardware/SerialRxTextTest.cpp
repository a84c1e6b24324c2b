#include "hardware/SerialRxText.h"
#include "config/SerialValueLists.h"
#include "hardware/SerialLineValues.h"

#include <gtest/gtest.h>

TEST(SerialRxText, FoldsControlAndHighBytesIntoPrintableCharacters) {
    EXPECT_EQ(SerialRxText::fromBytes(QByteArray::fromHex("0A41C1")), QByteArray("*Ab"));
    EXPECT_EQ(SerialRxText::charOfByte(0x00), ' ');
    EXPECT_EQ(SerialRxText::charOfByte(0x1F), '?');
    EXPECT_EQ(SerialRxText::charOfByte(0x20), ' ');
    EXPECT_EQ(SerialRxText::charOfByte(0x7F), '\x7F');
    EXPECT_EQ(SerialRxText::charOfByte(0xFF), '\xA0');
}

TEST(SerialRxText, DifferentBytesCanGiveTheSameCharacter) {
    EXPECT_EQ(SerialRxText::fromBytes(QByteArray::fromHex("012180")), QByteArray("!!!"));
}

TEST(SerialRxText, KeepsEveryByteIncludingZero) {
    EXPECT_EQ(SerialRxText::fromBytes(QByteArray::fromHex("000000")), QByteArray("   "));
    EXPECT_TRUE(SerialRxText::fromBytes(QByteArray()).isEmpty());
}

TEST(SerialLineValues, MatchesWithoutRegardToCaseAndFallsBackPerKey) {
    SerialParameters in;
    in.BaudRate = QStringLiteral("custom");
    in.StopBits = QStringLiteral("1.5");
    in.DataBits = QStringLiteral("7");
    in.Parity = QStringLiteral("eVeN");
    in.FlowControl = QStringLiteral("hardware");
    SerialParameters out = SerialValueLists::normalized(in);
    EXPECT_EQ(out.BaudRate, QStringLiteral("Custom"));
    EXPECT_EQ(out.Parity, QStringLiteral("Even"));
    EXPECT_EQ(out.FlowControl, QStringLiteral("Hardware"));

    in.BaudRate = QStringLiteral("9601");
    in.StopBits = QStringLiteral("3");
    in.DataBits = QStringLiteral("9");
    in.Parity = QStringLiteral("Parity");
    in.FlowControl = QStringLiteral("None ");
    out = SerialValueLists::normalized(in);
    EXPECT_EQ(out.BaudRate, QStringLiteral("9600"));
    EXPECT_EQ(out.StopBits, QStringLiteral("1"));
    EXPECT_EQ(out.DataBits, QStringLiteral("8"));
    EXPECT_EQ(out.Parity, QStringLiteral("None"));
    EXPECT_EQ(out.FlowControl, QStringLiteral("None"));
    in.FlowControl = QStringLiteral("RTS");
    EXPECT_EQ(SerialValueLists::normalized(in).FlowControl, QStringLiteral("Custom"));
}

TEST(SerialLineValues, CustomRateComesFromItsOwnKey) {
    SerialParameters p;
    p.BaudRate = QStringLiteral("Custom");
    p.CustomBaudRate = 31250;
    EXPECT_EQ(SerialLineValues::effectiveBaudRate(p), 31250);
    p.CustomBaudRate = 0;
    EXPECT_EQ(SerialLineValues::effectiveBaudRate(p), 9600);
    p.BaudRate = QStringLiteral("115200");
    EXPECT_EQ(SerialLineValues::effectiveBaudRate(p), 115200);
}

TEST(SerialLineValues, LineSettingsMeanWhatTheirNamesSay) {
    EXPECT_EQ(SerialLineValues::toParity(QStringLiteral("Mark")), QSerialPort::MarkParity);
    EXPECT_EQ(SerialLineValues::toParity(QStringLiteral("Space")), QSerialPort::SpaceParity);
    EXPECT_EQ(SerialLineValues::toDataBits(QStringLiteral("5")), QSerialPort::Data5);
    EXPECT_EQ(SerialLineValues::toStopBits(QStringLiteral("2")), QSerialPort::TwoStop);
    EXPECT_EQ(SerialLineValues::toFlowControl(QStringLiteral("Software")), QSerialPort::SoftwareControl);
    EXPECT_EQ(SerialLineValues::toFlowControl(QStringLiteral("Custom")), QSerialPort::NoFlowControl);
#ifndef Q_OS_WIN
    // Opening must not fail for a value the line cannot take separately.
    EXPECT_EQ(SerialLineValues::toStopBits(QStringLiteral("1.5")), QSerialPort::TwoStop);
#endif
}
