#pragma once

#include "hardware/SerialHitTarget.h"

#include <QByteArray>
#include <QObject>

#include <array>

class SerialLearnPanel;
class TComPort;
struct TSettings;

// The main window's handling of the serial port ComPort1: each receive event becomes LastRxText,
// which is either captured for the settings window or matched against the learned sequences, and the
// handshake lines follow the settings when the port opens and drop before it closes.
class SerialSensorInput : public QObject {
    Q_OBJECT

public:
    static constexpr int KartCount = 4;

    // Connects itself to the port's receive, after-open and before-close notifications.
    SerialSensorInput(TComPort& port, const TSettings& settings, QObject* parent = nullptr);

    // kart is 1..4.
    void setHitTarget(int kart, SerialHitTarget target);
    // The settings window's learning and test modes; without one, every burst is matched.
    void setLearnPanel(SerialLearnPanel* panel) { m_learnPanel = panel; }

    const QByteArray& LastRxText() const { return m_lastRxText; }

    void ComPort1RxChar(int count);
    void ComPort1AfterOpen();
    void ComPort1BeforeClose();

    // Hands a hit to every kart outside its dead time whose sequence A or B equals text.
    void matchText(const QByteArray& text);

signals:
    void received(const QByteArray& text);

private:
    TComPort& m_port;
    const TSettings& m_settings;
    SerialLearnPanel* m_learnPanel = nullptr;
    std::array<SerialHitTarget, KartCount> m_targets;
    QByteArray m_lastRxText;
};
