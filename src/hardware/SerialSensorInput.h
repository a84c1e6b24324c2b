#pragma once

#include "hardware/SerialBurstMatcher.h"
#include "hardware/SerialHitTarget.h"

#include <QByteArray>
#include <QObject>

#include <array>

class ITimer;
class SerialLearnPanel;
class TComPort;
struct TSettings;

// The main window's handling of the serial port ComPort1: each receive event becomes LastRxText,
// which is either captured for the settings window or searched for the learned sequences, and the
// handshake lines follow the settings when the port opens and drop before it closes.
//
// The search runs over the received text as a whole, not event by event, so that a burst counts once
// however the line's timing cuts it into reads. The start of a sequence is held for the next bytes;
// when the line has been quiet for QuietMs, what is held is settled (SerialBurstMatcher).
class SerialSensorInput : public QObject {
    Q_OBJECT

public:
    static constexpr int KartCount = 4;
    // Longer than the gaps inside one burst: a USB serial adapter passes its bytes on in packets,
    // by default at least every 16 ms. Only a sequence that begins another one waits this long, so
    // only such a kart's hits come this much later; as every one of them does, only its first lap
    // is longer for it.
    static constexpr quint32 QuietMs = 50;

    // Connects itself to the port's receive, after-open and before-close notifications.
    SerialSensorInput(TComPort& port, const TSettings& settings, QObject* parent = nullptr);

    // kart is 1..4.
    void setHitTarget(int kart, SerialHitTarget target);
    // The settings window's learning and test modes; without one, every burst is matched.
    void setLearnPanel(SerialLearnPanel* panel) { m_learnPanel = panel; }
    // The timer that settles a held start of a sequence once the line is quiet. Without one, it
    // waits for the next bytes.
    void setQuietTimer(ITimer* timer);

    const QByteArray& LastRxText() const { return m_lastRxText; }

    void ComPort1RxChar(int count);
    void ComPort1AfterOpen();
    void ComPort1BeforeClose();

    // Hands a hit, arrived at arrivalUs, to every kart outside its dead time whose sequence A or B
    // equals text.
    void matchText(const QByteArray& text, qint64 arrivalUs);
    // The received text that may still become a sequence.
    const QByteArray& heldText() const { return m_matcher.held(); }

signals:
    void received(const QByteArray& text);

private:
    QByteArrayList learnedSequences() const;
    void dropHeld();
    void settleHeld();

    TComPort& m_port;
    const TSettings& m_settings;
    // When the bytes of the last receive event arrived: the last byte of anything held arrived then.
    qint64 m_lastArrivalUs = 0;
    SerialLearnPanel* m_learnPanel = nullptr;
    std::array<SerialHitTarget, KartCount> m_targets;
    QByteArray m_lastRxText;
    SerialBurstMatcher m_matcher;
    ITimer* m_quietTimer = nullptr;
};
