#pragma once

#include "hardware/ScenarioEvent.h"

#include <QList>
#include <QObject>

#include <array>
#include <map>
#include <memory>
#include <mutex>

class MonotonicClock;
class RandomKarts;
struct TSettings;

// A track without hardware: four virtual karts pass their sensors, an external start button can be
// pressed, and what is written to the data register (the lamps) is recorded. Its status register
// reads as a real one would: bits 3..6 are the sensors of karts 1..4, bit 7 the external start button.
// A sensor is wired for the setting HW/Negace: with it on, a passing kart sets its bit; with it off,
// the bit is set at rest and a passing kart clears it. Each pass holds the sensor for pulseMs().
// Time comes from the injected clock and is counted from start(); scheduled steps (a scenario, random
// karts, the release of a clicked button) take effect when the track is next looked at. The samplers
// look at it from their worker while the windows use it on the main thread, so every access is locked.
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

    // Track time 0 is now; later calls do nothing. Looking at the track starts it too, unless the
    // track is told to wait for start(): the program starts a scenario once the station is ready, so
    // that a slow start-up does not eat into it. Until then the sensors and the button are at rest.
    void start();
    bool isStarted() const;
    void setStartsWhenLookedAt(bool starts);
    bool startsWhenLookedAt() const;
    qint64 trackTimeMs() const;
    qint64 trackTimeUs() const;
    // The clock's reading at track time 0.
    qint64 originUs() const;

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

    quint8 dataRegister() const;
    void writeData(quint8 value);
    quint8 controlRegister() const;
    void writeControl(quint8 value);
    // The most recent writes to the data register, oldest first.
    QList<DataWrite> dataWrites() const;

signals:
    void dataWritten(quint8 value);
    void kartPassed(int kart, qint64 atMs);

private:
    using Lock = std::lock_guard<std::recursive_mutex>;

    // Starts the track if looking starts it, then advances it.
    void look();
    // Applies every scheduled step due by now.
    void advance();
    void apply(const ScenarioEvent& event);

    const TSettings& m_settings;
    MonotonicClock& m_clock;
    // Recursive: a handler of kartPassed, connected directly, may look at the track again.
    mutable std::recursive_mutex m_mutex;
    bool m_started = false;
    bool m_startsWhenLookedAt = true;
    qint64 m_originUs = 0;
    qint64 m_pulseMs = DefaultPulseMs;
    std::array<qint64, KartCount> m_activeUntilUs; // track time, us
    bool m_buttonPressed = false;
    std::multimap<qint64, ScenarioEvent> m_scheduled;
    std::unique_ptr<RandomKarts> m_randomKarts;
    quint8 m_data = 0;
    quint8 m_control = 0;
    QList<DataWrite> m_writes;
};
