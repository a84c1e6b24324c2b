#pragma once

#include "upkeep/KartStateFile.h"

#include <QString>

#include <array>

// The four karts' reminder texts: messages ended by CR, gathered until the operator acknowledges
// them ("Beru na vědomí").
class KartReminders {
public:
    static QString fuelMessage() { return QStringLiteral("Doplňte palivo !\r"); }

    const std::array<QString, 4>& texts() const { return m_texts; }
    bool any() const;

    // A kart that needs fuel gets the fuel message in place of its text.
    void CheckFuel(const KartStates& states);
    // Each kart's due tasks are added to its text. Throws ConversionError for a driven time that is no
    // engine time text, leaving the later karts unchecked.
    void CheckServiceTasks(const KartStates& states);
    void acknowledge();

private:
    std::array<QString, 4> m_texts;
};
