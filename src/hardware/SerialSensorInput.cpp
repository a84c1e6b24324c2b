#include "hardware/SerialSensorInput.h"

#include "base/ErrorBoundary.h"
#include "base/ITimer.h"
#include "config/TSettings.h"
#include "hardware/SerialLearnPanel.h"
#include "hardware/SerialRxText.h"
#include "hardware/TComPort.h"

SerialSensorInput::SerialSensorInput(TComPort& port, const TSettings& settings, QObject* parent)
    : QObject(parent), m_port(port), m_settings(settings) {
    // A burst reaches the learning panel and the race's hooks, which may fail; the receive ends there.
    connect(&m_port, &TComPort::rxChar, this,
            ErrorBoundary::guardedSlot(this, &SerialSensorInput::ComPort1RxChar));
    connect(&m_port, &TComPort::afterOpen, this, &SerialSensorInput::ComPort1AfterOpen);
    connect(&m_port, &TComPort::beforeClose, this, &SerialSensorInput::ComPort1BeforeClose);
    // Bytes held from before are no start of what comes after the discard.
    connect(&m_port, &TComPort::receivedDiscarded, this, &SerialSensorInput::dropHeld);
}

void SerialSensorInput::setQuietTimer(ITimer* timer) {
    if (m_quietTimer)
        m_quietTimer->setOnTimer({});
    m_quietTimer = timer;
    if (!m_quietTimer)
        return;
    m_quietTimer->setEnabled(false);
    m_quietTimer->setInterval(QuietMs);
    m_quietTimer->setOnTimer([this] { settleHeld(); });
}

void SerialSensorInput::setHitTarget(int kart, SerialHitTarget target) {
    Q_ASSERT(kart >= 1 && kart <= KartCount);
    m_targets[kart - 1] = std::move(target);
}

void SerialSensorInput::ComPort1RxChar(int count) {
    // A burst's lap ends when its last byte came, however late this event runs.
    m_lastArrivalUs = m_port.lastArrivalUs();
    // LastRxText, the capture and the learning keep to this event's bytes: that is what the operator
    // sees and what a learned sequence is made of.
    m_lastRxText = SerialRxText::fromBytes(m_port.read(count));
    emit received(m_lastRxText);
    if (m_learnPanel && m_learnPanel->CaptureActive()) {
        dropHeld();
        m_learnPanel->showCaptured(m_lastRxText);
    } else {
        const QByteArrayList found = m_matcher.feed(m_lastRxText, learnedSequences());
        if (m_quietTimer) {
            // Restarted from its full interval by every receive event.
            m_quietTimer->setEnabled(false);
            m_quietTimer->setEnabled(m_matcher.holding());
        }
        for (const QByteArray& sequence : found)
            matchText(sequence, m_lastArrivalUs);
    }
    if (m_learnPanel)
        m_learnPanel->takeLearnedBurst(m_lastRxText);
}

void SerialSensorInput::ComPort1AfterOpen() {
    dropHeld();
    m_port.setRts(m_settings.Com.RTS);
    m_port.setDtr(m_settings.Com.DTR);
}

void SerialSensorInput::ComPort1BeforeClose() {
    dropHeld();
    m_port.setRts(false);
    m_port.setDtr(false);
}

QByteArrayList SerialSensorInput::learnedSequences() const {
    const auto& sequences = m_settings.Com.Sekvence;
    return QByteArrayList(sequences.begin(), sequences.end());
}

void SerialSensorInput::dropHeld() {
    m_matcher.clear();
    if (m_quietTimer)
        m_quietTimer->setEnabled(false);
}

void SerialSensorInput::settleHeld() {
    if (m_quietTimer)
        m_quietTimer->setEnabled(false);
    const QByteArrayList found = m_matcher.settle(learnedSequences());
    // Nothing came since what is settled here: its last byte came with the last receive.
    for (const QByteArray& sequence : found)
        matchText(sequence, m_lastArrivalUs);
}

void SerialSensorInput::matchText(const QByteArray& text, qint64 arrivalUs) {
    if (text.isEmpty())
        return;
    const auto& sequences = m_settings.Com.Sekvence;
    for (int kart = 1; kart <= KartCount; ++kart) {
        const SerialHitTarget& target = m_targets[kart - 1];
        if (target.deadTimeRunning && target.deadTimeRunning())
            continue;
        const QByteArray& a = sequences[TSettings::sequenceSlot(kart, 0)];
        const QByteArray& b = sequences[TSettings::sequenceSlot(kart, 1)];
        const bool hit = (!a.isEmpty() && text == a) || (!b.isEmpty() && text == b);
        if (hit && target.setPendingHit)
            target.setPendingHit(arrivalUs);
    }
}
