#include "hardware/VirtualTrack.h"

#include "base/MonotonicClock.h"
#include "config/TSettings.h"
#include "hardware/RandomKarts.h"
#include "hardware/ScenarioReader.h"

#include <limits>

VirtualTrack::VirtualTrack(const TSettings& settings, MonotonicClock& clock, QObject* parent)
    : QObject(parent), m_settings(settings), m_clock(clock) {
    m_activeUntilUs.fill(std::numeric_limits<qint64>::min());
}

VirtualTrack::~VirtualTrack() = default;

void VirtualTrack::start() {
    const Lock lock(m_mutex);
    if (m_started)
        return;
    m_started = true;
    m_originUs = m_clock.nowUs();
}

bool VirtualTrack::isStarted() const {
    const Lock lock(m_mutex);
    return m_started;
}

void VirtualTrack::setStartsWhenLookedAt(bool starts) {
    const Lock lock(m_mutex);
    m_startsWhenLookedAt = starts;
}

bool VirtualTrack::startsWhenLookedAt() const {
    const Lock lock(m_mutex);
    return m_startsWhenLookedAt;
}

qint64 VirtualTrack::originUs() const {
    const Lock lock(m_mutex);
    return m_originUs;
}

qint64 VirtualTrack::trackTimeUs() const {
    const Lock lock(m_mutex);
    return m_started ? m_clock.nowUs() - m_originUs : 0;
}

qint64 VirtualTrack::trackTimeMs() const {
    return trackTimeUs() / 1000;
}

void VirtualTrack::look() {
    if (m_startsWhenLookedAt)
        start();
    advance();
}

void VirtualTrack::replay(const QList<ScenarioEvent>& events) {
    const Lock lock(m_mutex);
    for (const ScenarioEvent& event : events)
        m_scheduled.emplace(event.atMs, event);
}

void VirtualTrack::driveRandomKarts(quint32 seed) {
    const Lock lock(m_mutex);
    m_randomKarts = std::make_unique<RandomKarts>(seed);
}

void VirtualTrack::passKart(int kart) {
    if (kart < 1 || kart > KartCount)
        return;
    const Lock lock(m_mutex);
    start();
    advance();
    apply({trackTimeMs(), ScenarioEvent::Pass, kart});
}

void VirtualTrack::pressButton() {
    const Lock lock(m_mutex);
    start();
    advance();
    m_buttonPressed = true;
}

void VirtualTrack::releaseButton() {
    const Lock lock(m_mutex);
    start();
    advance();
    m_buttonPressed = false;
}

void VirtualTrack::clickButton() {
    const Lock lock(m_mutex);
    pressButton();
    const qint64 releaseAt = trackTimeMs() + ScenarioReader::StartPressMs;
    m_scheduled.emplace(releaseAt, ScenarioEvent{releaseAt, ScenarioEvent::Release, 0});
}

bool VirtualTrack::sensorActive(int kart) {
    if (kart < 1 || kart > KartCount)
        return false;
    const Lock lock(m_mutex);
    look();
    return m_started && trackTimeUs() < m_activeUntilUs[kart - 1];
}

bool VirtualTrack::buttonPressed() {
    const Lock lock(m_mutex);
    look();
    return m_buttonPressed;
}

quint8 VirtualTrack::statusRegister() {
    const Lock lock(m_mutex);
    look();
    const qint64 now = trackTimeUs();
    const bool negace = m_settings.HW.Negace;
    quint8 status = 0;
    for (int kart = 1; kart <= KartCount; ++kart) {
        const bool active = m_started && now < m_activeUntilUs[kart - 1];
        if (active == negace)
            status |= quint8(1u << sensorBit(kart));
    }
    if (m_buttonPressed)
        status |= quint8(1u << ButtonBit);
    return status;
}

quint8 VirtualTrack::dataRegister() const {
    const Lock lock(m_mutex);
    return m_data;
}

quint8 VirtualTrack::controlRegister() const {
    const Lock lock(m_mutex);
    return m_control;
}

void VirtualTrack::writeControl(quint8 value) {
    const Lock lock(m_mutex);
    m_control = value;
}

QList<VirtualTrack::DataWrite> VirtualTrack::dataWrites() const {
    const Lock lock(m_mutex);
    return m_writes;
}

void VirtualTrack::writeData(quint8 value) {
    const Lock lock(m_mutex);
    m_data = value;
    if (m_writes.size() >= MaxRecordedWrites)
        m_writes.remove(0, MaxRecordedWrites / 10);
    m_writes.append({trackTimeMs(), value});
    emit dataWritten(value);
}

void VirtualTrack::advance() {
    if (!m_started)
        return;
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
        m_activeUntilUs[event.kart - 1] =
            std::max(m_activeUntilUs[event.kart - 1],
                     (event.atMs + (event.holdMs > 0 ? event.holdMs : m_pulseMs)) * 1000);
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
