#pragma once

// The three on-screen lamps of the main window's start group.
enum class Lamp { Red, Orange, Green };

// What the lights need of the main window: the lamps `Led_cervena`, `LED_oranzova`, `Led_zelena`
// switched one at a time, and an immediate repaint of the start group (the light sequence blocks the
// event loop, so a deferred repaint would never show the red and orange steps).
class LampView {
public:
    virtual ~LampView() = default;
    virtual void setLamp(Lamp lamp, bool on) = 0;
    virtual void repaintStartGroup() = 0;
};
