#pragma once

#include <QString>
#include <QStringList>
#include <QtGlobal>

class ITimer;
class LapList;

// One kart's lap detection. Owned by TRace; the serial input sets PendingHit (only while
// deadTimeRunning() is false) and the race takes it at the channel's next sample.
class TLapChannel {
public:
    int Kart = 1;                // 1..4
    QString KartName;            // "kara1" .. "kara4"
    quint8 InputMask = 0x08;     // status bit of the sensor: 0x08, 0x10, 0x20, 0x40
    qint64 LastMark = 0;         // race time of the previous hit, ms; 0 before the first lap
    qint64 Elapsed = 0;          // race time of the hit being processed, ms
    bool PendingHit = false;     // a learned serial burst of this kart arrived
    ITimer* Sampler = nullptr;   // Timer1 .. Timer4
    ITimer* DeadTimer = nullptr; // ProdlevaTimer1 .. ProdlevaTimer4
    LapList* Laps = nullptr;     // Kola_mezicas1 .. Kola_mezicas4
    QStringList Measured;        // this race's laps as measured, before filters and edits
    qint64 LastSampleAt = -1;    // clock of the previous sample while sampling; -1 when not sampling

    bool deadTimeRunning() const;
    bool sampling() const;
};
