#pragma once

#include <QObject>
#include <QString>

#include <functional>
#include <memory>
#include <optional>

class ITimer;
class TSmallPort;
class TimerFactory;

// The parallel port diagnostics of the settings window's test page: open and close the port, read
// and show both registers, write the data register, and repeat the reading on a timer.
class PortTester : public QObject {
    Q_OBJECT

public:
    struct Reading {
        quint8 data = 0;   // base: bits 0..7 are pins 2..9
        quint8 status = 0; // base + 1: bits 3..7 are pins 15, 13, 12, 10, 11

        bool dataBit(int bit) const { return (data >> bit) & 1; }
        // Bit 3..7 of the status register.
        bool statusBit(int bit) const { return (status >> bit) & 1; }
    };

    static constexpr int FirstStatusBit = 3;
    static constexpr int LastStatusBit = 7;
    static constexpr quint32 InitialRepeatMs = 100;

    // The repeat timer OpakujCteniTimer comes from timers (a sampler: the readings follow the pins).
    PortTester(TSmallPort& port, TimerFactory& timers, QObject* parent = nullptr);
    ~PortTester() override;

    // The test page's port choice as a base; it may throw ConversionError for a bad hexadecimal text.
    // Until set, the port base is left as it is.
    void setBaseSource(std::function<quint16()> source) { m_baseSource = std::move(source); }

    // A click on the test page's port choice (LPT1, LPT2, LPTxx with LPTxx_Base1): the port base
    // changes at once, open port or not, also for a running race. Throws ConversionError for a bad
    // hexadecimal text, leaving the base as it was.
    void choosePort(int choice, const QString& hexText);

    static QString portButtonCaption(bool opened);
    QString portButtonCaption() const;
    // btn_Port: closes an open port; opens a closed one and, when it opened, sets the port base from
    // the test page's choice. Returns the new caption.
    QString togglePort();

    // "Přečti stav": only while the port is open; sets the port base, reads both registers and
    // reports the reading (also through stateRead).
    std::optional<Reading> readState();
    // "Zapiš hodnotu": only while the port is open; sets the port base and writes the value.
    void writeValue(int value);

    // "Opakuj čtení každých": every tick of OpakujCteniTimer reads the state.
    void setRepeat(bool on);
    bool repeating() const;
    // A change of SpinEdit1: from now on the repeat interval is the field's value.
    void setRepeatInterval(int ms);
    ITimer& OpakujCteniTimer() const { return *m_repeatTimer; }
    // The repeat timer's tick: reads the state; when that fails, stops the repetition (repeatStopped)
    // and reports the error.
    void OpakujCteniTimerTimer();

signals:
    void stateRead(const PortTester::Reading& reading);
    // The repetition ended by itself, because a reading failed (the window unticks OpakujBox).
    void repeatStopped();

private:
    void applyBase();

    TSmallPort& m_port;
    std::function<quint16()> m_baseSource;
    std::unique_ptr<ITimer> m_repeatTimer;
};
