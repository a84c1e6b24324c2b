#pragma once

#include <QtGlobal>

#include <functional>

class LampView;
class TSmallPort;

// The start lights on the data register: the blocking red-orange-green sequence of a START, the red
// light at the race end and the resting value written at start-up. Every step writes its mask as the
// whole data register.
class StartLights {
public:
    // Blocks the calling (main) thread for the given milliseconds. Tests pass one that advances a
    // virtual clock instead of sleeping.
    using WaitFunction = std::function<void(int ms)>;

    StartLights(TSmallPort& port, LampView& lamps, WaitFunction wait = {});

    // Red, wait, orange, wait, green; the on-screen lamps follow one at a time and the start group is
    // repainted after each step. delaySeconds is `Semafor/Prodleva`.
    void runStartSequence(quint8 green, quint8 orange, quint8 red, int delaySeconds);

    // Writes the race-end red (the race's `EndRedMask`) and shows red alone on screen.
    void showRaceEnd(quint8 endRedMask);

    // Writes `Po spusteni/Base` (its low 8 bits) to the data register.
    void writeStartupValue(int base);

private:
    void writeData(quint8 value);

    TSmallPort& m_port;
    LampView& m_lamps;
    WaitFunction m_wait;
};
