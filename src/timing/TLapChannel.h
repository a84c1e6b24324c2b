#pragma once

#include <QString>
#include <QStringList>
#include <QtGlobal>

#include <atomic>

class ITimer;
class LapList;

// One kart's lap detection. Owned by TRace. Instants are the race clock's microseconds. The sampler's
// probe runs off the main thread: it takes the pending serial hit and stamps the hit it hands over,
// so those fields are atomic; the rest belongs to the main thread.
class TLapChannel {
public:
    static constexpr qint64 NoHit = -1;

    int Kart = 1;                // 1..4
    QString KartName;            // "kara1" .. "kara4"
    quint8 InputMask = 0x08;     // status bit of the sensor: 0x08, 0x10, 0x20, 0x40
    qint64 LastMarkUs = 0;       // race time of the previous hit; 0 before the first lap
    qint64 ElapsedUs = 0;        // race time of the hit being processed
    ITimer* Sampler = nullptr;   // Timer1 .. Timer4
    ITimer* DeadTimer = nullptr; // ProdlevaTimer1 .. ProdlevaTimer4
    LapList* Laps = nullptr;     // Kola_mezicas1 .. Kola_mezicas4
    QStringList Measured;        // this race's laps as measured, before filters and edits

    // The clock instant of a learned serial burst of this kart, set by the serial input only while the
    // dead time is not running; taken by the channel's next sample.
    std::atomic<qint64> PendingHitUs{NoHit};
    // The clock instant of the hit the sampler handed over.
    std::atomic<qint64> HitUs{NoHit};
    // The clock instant of the previous sample while sampling.
    std::atomic<qint64> LastSampleUs{NoHit};

    bool hasPendingHit() const { return PendingHitUs.load() != NoHit; }
    bool deadTimeRunning() const;
    bool sampling() const;
};
