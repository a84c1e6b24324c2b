#pragma once

#include "base/LampView.h"

#include <QString>

// The four buttons that are disabled for the length of a race.
enum class RaceButton {
    StavKar,    // "Sta&v kár"
    Statistika, // "&Statistika"
    Tisk,       // "&Tisk"
    TopTen,     // "&Nejlepších dvacet časů"
};

// The race clock's seven-segment displays.
enum class ClockDisplay {
    Millis,  // LcdDisplay1, three digits
    Seconds, // LcdDisplay2, two digits
    Minutes, // LcdDisplay3, two digits
};

// What the race needs of the main window. The race calls these in the order its steps give; the
// window shows them and nothing more.
class RaceView : public LampView {
public:
    // START/STOP button caption: "STOP" while running, "START" at rest.
    virtual void setRunning(bool running) = 0;
    virtual void setButtonEnabled(RaceButton button, bool enabled) = 0;

    virtual void setClockDisplay(ClockDisplay display, int value) = 0;
    // What the display shows now (the race writes seconds and minutes only when they change).
    virtual int clockDisplay(ClockDisplay display) const = 0;

    // The race-time field `CasZavodu`: whole minutes, read afresh at every display tick.
    virtual int raceMinutes() const = 0;

    // Lets the window system process pending events (nested handlers may run).
    virtual void processPendingEvents() = 0;

    // A failure the race reports without ending its action (a lap file that could not be kept).
    virtual void showError(const QString& message) = 0;

    // Sensor samples came late (a pass may have been missed); count is how often in this run.
    virtual void showLateSamples(int count) = 0;

    // The chequered flag: shown when the race time ended and the karts finish their last lap, hidden
    // when the race is at rest again.
    virtual void showChequeredFlag(bool shown) { Q_UNUSED(shown); }
};
