#pragma once

#include <QStatusBar>

class SignalLamp;
class QLabel;
class QTimer;
class QDateTime;
struct LockKeyStates;

// The main window's status bar, panels left to right: "Stav LPT portu: ", the port lamp (red "busy"
// while the parallel port is closed, green "free" while it is open), CAPS, NUM, SCROLL (grey while the
// key is off), the date and time (every second), the maker, and in the rest of the width the serial
// port's news (empty while there is none).
class MainStatusBar : public QStatusBar {
    Q_OBJECT

public:
    explicit MainStatusBar(QWidget* parent = nullptr);

    void setPortOpen(bool open);
    bool portOpen() const { return m_portOpen; }

    // The serial port's device went away (in red); reopening: the station opens the port again once
    // the device is back. The tool tip names the port and says what happens next.
    void showSerialPortLost(const QString& port, bool reopening);
    // The port has been opened again after its device was lost.
    void showSerialPortBack(const QString& port);
    void clearSerialPortNews();
    QString serialPortNews() const;

    // Shows the time and the lock keys as they are now; called every second.
    void refresh();
    void showDateTime(const QDateTime& now);
    // Unknown states (nullopt) stay grey.
    void showLockKeys(const LockKeyStates* states);

    // The date as "d. MMMM yyyy", a blank, then the time as " h:mm:ss", in Czech.
    static QString dateTimeText(const QDateTime& now);

    SignalLamp* portLamp() const { return m_portLamp; }

    // Samples of the lap sensors came late count times in this run: shown in red, ahead of the other
    // panels, so that the operator knows a pass may have been missed.
    void showLateSamples(int count);

private:
    QLabel* addPanel(const QString& name, const QString& text, int minimumWidth);
    void showLockKey(QLabel* label, bool on);
    void showSerialPortNews(const QString& text, const QString& details, bool alarm);

    SignalLamp* m_portLamp = nullptr;
    QLabel* m_caps = nullptr;
    QLabel* m_num = nullptr;
    QLabel* m_scroll = nullptr;
    QLabel* m_dateTime = nullptr;
    QLabel* m_lateSamples = nullptr;
    QLabel* m_serialNews = nullptr;
    QTimer* m_clock = nullptr;
    bool m_portOpen = false;
};
