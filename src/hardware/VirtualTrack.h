#pragma once

#include "hardware/ScenarioEvent.h"

#include <QList>
#include <QObject>

#include <array>
#include <map>
#include <memory>

class MonotonicClock;
class RandomKarts;
struct TSettings;

// A track without hardware: four virtual karts pass their sensors, an external start button can be
// pressed, and what is written to the data register (the lamps) is recorded. Its status register
// reads as a real one would: bits 3..6 are the sensors of karts 1..4, bit 7 the external start button.
// A sensor is wired for the setting HW/Negace: with it on, a passing kart sets its bit; with it off,
// the bit is set at rest and a passing kart clears it. Each pass holds the sensor for pulseMs().
// Time comes from the injected clock and is counted from start(); scheduled steps (a scenario, random
// karts, the release of a clicked button) take effect when the track is next looked at.
class VirtualTrack : public QObject {
    Q_OBJECT

public:
    static constexpr int KartCount = 4;
    static constexpr qint64 DefaultPulseMs = 40;
    static constexpr int ButtonBit = 7;
    static constexpr int MaxRecordedWrites = 10000;

    struct DataWrite {
        qint64 atMs = 0; // track time
        quint8 value = 0;
    };

    VirtualTrack(const TSettings& settings, MonotonicClock& clock, QObject* parent = nullptr);
    ~VirtualTrack() override;

    static constexpr int sensorBit(int kart) { return kart + 2; }

    // Track time 0 is now; later calls do nothing. Looking at the track starts it too.
    void start();
    bool isStarted() const { return m_started; }
    qint64 trackTimeMs() const;

    // Schedules the steps (track times) in addition to anything scheduled before.
    void replay(const QList<ScenarioEvent>& events);
    // Lets four karts lap the track on their own, reproducibly for a seed.
    void driveRandomKarts(quint32 seed);

    void passKart(int kart);
    void pressButton();
    void releaseButton();
    // Pressed now, released ScenarioReader::StartPressMs later.
    void clickButton();

    qint64 pulseMs() const { return m_pulseMs; }

    bool sensorActive(int kart);
    bool buttonPressed();
    quint8 statusRegister();

    quint8 dataRegister() const { return m_data; }
    void writeData(quint8 value);
    quint8 controlRegister() const { return m_control; }
    void writeControl(quint8 value) { m_control = value; }
    // The most recent writes to the data register, oldest first.
    const QList<DataWrite>& dataWrites() const { return m_writes; }

signals:
    void dataWritten(quint8 value);
    void kartPassed(int kart, qint64 atMs);

private:
    // Applies every scheduled step due by now.
    void advance();
    void apply(const ScenarioEvent& event);

    const TSettings& m_settings;
    MonotonicClock& m_clock;
    bool m_started = false;
    qint64 m_originMs = 0;
    qint64 m_pulseMs = DefaultPulseMs;
    std::array<qint64, KartCount> m_activeUntilMs;
    bool m_buttonPressed = false;
    std::multimap<qint64, ScenarioEvent> m_scheduled;
    std::unique_ptr<RandomKarts> m_randomKarts;
    quint8 m_data = 0;
    quint8 m_control = 0;
    QList<DataWrite> m_writes;
};
