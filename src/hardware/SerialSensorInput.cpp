#include "hardware/SerialSensorInput.h"

#include "base/ErrorBoundary.h"
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
}

void SerialSensorInput::setHitTarget(int kart, SerialHitTarget target) {
    Q_ASSERT(kart >= 1 && kart <= KartCount);
    m_targets[kart - 1] = std::move(target);
}

void SerialSensorInput::ComPort1RxChar(int count) {
    // Only this event's bytes: a burst split over two events gives two texts and matches nothing.
    m_lastRxText = SerialRxText::fromBytes(m_port.read(count));
    emit received(m_lastRxText);
    if (m_learnPanel && m_learnPanel->CaptureActive())
        m_learnPanel->showCaptured(m_lastRxText);
    else
        matchText(m_lastRxText);
    if (m_learnPanel)
        m_learnPanel->takeLearnedBurst(m_lastRxText);
}

void SerialSensorInput::ComPort1AfterOpen() {
    m_port.setRts(m_settings.Com.RTS);
    m_port.setDtr(m_settings.Com.DTR);
}

void SerialSensorInput::ComPort1BeforeClose() {
    m_port.setRts(false);
    m_port.setDtr(false);
}

void SerialSensorInput::matchText(const QByteArray& text) {
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
            target.setPendingHit();
    }
}
