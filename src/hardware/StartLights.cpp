#include "hardware/StartLights.h"

#include "base/LampView.h"
#include "hardware/TSmallPort.h"

#include <chrono>
#include <thread>

StartLights::StartLights(TSmallPort& port, LampView& lamps, WaitFunction wait)
    : m_port(port), m_lamps(lamps), m_wait(std::move(wait)) {
    if (!m_wait) {
        m_wait = [](int ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); };
    }
}

void StartLights::runStartSequence(quint8 green, quint8 orange, quint8 red, int delaySeconds) {
    const int delayMs = qMax(0, delaySeconds) * 1000;

    writeData(red);
    m_lamps.setLamp(Lamp::Red, true);
    m_lamps.repaintStartGroup();
    m_wait(delayMs);

    writeData(orange);
    m_lamps.setLamp(Lamp::Red, false);
    m_lamps.setLamp(Lamp::Orange, true);
    m_lamps.repaintStartGroup();
    m_wait(delayMs);

    writeData(green);
    m_lamps.setLamp(Lamp::Green, true);
    m_lamps.setLamp(Lamp::Orange, false);
    m_lamps.repaintStartGroup();
}

void StartLights::showRaceEnd(quint8 endRedMask) {
    writeData(endRedMask);
    m_lamps.setLamp(Lamp::Red, true);
    m_lamps.setLamp(Lamp::Orange, false);
    m_lamps.setLamp(Lamp::Green, false);
}

void StartLights::writeStartupValue(int base) {
    writeData(quint8(base & 0xFF));
}

void StartLights::writeData(quint8 value) {
    m_port.WritePort(m_port.portBase(), value);
}
