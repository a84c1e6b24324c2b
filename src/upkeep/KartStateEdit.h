#pragma once

#include "upkeep/KartStateFile.h"

#include <QDateTime>
#include <QList>

// A zeroing of a kart's counter, to be entered in the service book once it is stored.
struct KartZeroing {
    QDateTime when;
    int kart;
    qint64 zeroedMinutes;
    qint64 totalMinutes;
};

// The kart state window's working copy of the records: the operator's changes and zeroings stay
// here until "Potvrdit" commits them, so that a window left any other way changes nothing. The race
// may add driving meanwhile (the external start button works while the window is open); follow()
// carries that driving into the copy, so that committing the copy never takes it back.
class KartStateEdit {
public:
    explicit KartStateEdit(const KartStates& records = {}) : m_states(records), m_base(records) {}

    KartStates& states() { return m_states; }
    const KartStates& states() const { return m_states; }
    const QList<KartZeroing>& zeroings() const { return m_zeroings; }

    // The zeroing of kart 1..4's counter, in the copy.
    void zero(int kart, const QDateTime& when);
    // Adds to the copy what the records were driven since the copy was taken or last followed them.
    void follow(const KartStates& records);

private:
    KartStates m_states;
    KartStates m_base;
    QList<KartZeroing> m_zeroings;
};
