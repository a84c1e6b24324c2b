#include "hardware/VirtualTrack.h"

#include "base/MonotonicClock.h"
#include "config/TSettings.h"
#include "hardware/RandomKarts.h"
#include "hardware/ScenarioReader.h"

#include <limits>

VirtualTrack::VirtualTrack(const TSettings& settings, MonotonicClock& clock, QObject* parent)
    : QObject(parent), m_settings(settings), m_clock(clock) {
    m_activeUntilMs.fill(std::numeric_limits<qint64>::min());
}

VirtualTrack::~VirtualTrack() = default;

void VirtualTrack::start() {
    if (m_started)
        return;
    m_started = true;
    m_originMs = m_clock.nowMs();
}

qint64 VirtualTrack::trackTimeMs() const {
    return m_started ? m_clock.nowMs() - m_originMs : 0;
}

void VirtualTrack::replay(const QList<ScenarioEvent>& events) {
    for (const ScenarioEvent& event : events)
        m_scheduled.emplace(event.atMs, event);
}

void VirtualTrack::driveRandomKarts(quint32 seed) {
    m_randomKarts = std::make_unique<RandomKarts>(seed);
}

void VirtualTrack::passKart(int kart) {
    if (kart < 1 || kart > KartCount)
        return;
    start();
    advance();
    apply({trackTimeMs(), ScenarioEvent::Pass, kart});
}

void VirtualTrack::pressButton() {
    start();
    advance();
    m_buttonPressed = true;
}

void VirtualTrack::releaseButton() {
    start();
    advance();
    m_buttonPressed = false;
}

void VirtualTrack::clickButton() {
    pressButton();
    const qint64 releaseAt = trackTimeMs() + ScenarioReader::StartPressMs;
    m_scheduled.emplace(releaseAt, ScenarioEvent{releaseAt, ScenarioEvent::Release, 0});
}

bool VirtualTrack::sensorActive(int kart) {
    if (kart < 1 || kart > KartCount)
        return false;
    start();
    advance();
    return trackTimeMs() < m_activeUntilMs[kart - 1];
}

bool VirtualTrack::buttonPressed() {
    start();
    advance();
    return m_buttonPressed;
}

quint8 VirtualTrack::statusRegister() {
    start();
    advance();
    const qint64 now = trackTimeMs();
    const bool negace = m_settings.HW.Negace;
    quint8 status = 0;
    for (int kart = 1; kart <= KartCount; ++kart) {
        const bool active = now < m_activeUntilMs[kart - 1];
        if (active == negace)
            status |= quint8(1u << sensorBit(kart));
    }
    if (m_buttonPressed)
        status |= quint8(1u << ButtonBit);
    return status;
}

void VirtualTrack::writeData(quint8 value) {
    m_data = value;
    if (m_writes.size() >= MaxRecordedWrites)
        m_writes.remove(0, MaxRecordedWrites / 10);
    m_writes.append({trackTimeMs(), value});
    emit dataWritten(value);
}

void VirtualTrack::advance() {
    const qint64 now = trackTimeMs();
    while (!m_scheduled.empty() && m_scheduled.begin()->first <= now) {
        const ScenarioEvent event = m_scheduled.begin()->second;
        m_scheduled.erase(m_scheduled.begin());
        apply(event);
    }
    if (!m_randomKarts)
        return;
    for (int kart = 1; kart <= KartCount; ++kart) {
        while (m_randomKarts->nextPassMs(kart) <= now) {
            apply({m_randomKarts->nextPassMs(kart), ScenarioEvent::Pass, kart});
            m_randomKarts->completeLap(kart);
        }
    }
}

void VirtualTrack::apply(const ScenarioEvent& event) {
    switch (event.kind) {
    case ScenarioEvent::Pass:
        if (event.kart < 1 || event.kart > KartCount)
            return;
        m_activeUntilMs[event.kart - 1] = std::max(
            m_activeUntilMs[event.kart - 1], event.atMs + (event.holdMs > 0 ? event.holdMs : m_pulseMs));
        emit kartPassed(event.kart, event.atMs);
        return;
    case ScenarioEvent::Press:
        m_buttonPressed = true;
        return;
    case ScenarioEvent::Release:
        m_buttonPressed = false;
        return;
    }
}
