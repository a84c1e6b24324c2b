#pragma once

#include "platform/SoundPlayer.h"
#include "timing/RaceView.h"

#include <QCoreApplication>
#include <QString>

#include <cstdio>

// The race's view for a benchmark without windows: nothing is shown; errors go to stderr. With
// runEvents, the race's event breaks run the event loop, as the main window's do.
class SilentView : public RaceView {
public:
    explicit SilentView(bool runEvents = false) : m_runEvents(runEvents) {}
    void setLamp(Lamp, bool) override {}
    void repaintStartGroup() override {}
    void setRunning(bool) override {}
    void setButtonEnabled(RaceButton, bool) override {}
    void setClockDisplay(ClockDisplay, int) override {}
    int clockDisplay(ClockDisplay) const override { return 0; }
    int raceMinutes() const override { return 10; }
    void processPendingEvents() override {
        if (m_runEvents)
            QCoreApplication::processEvents();
    }
    void showError(const QString& message) override { std::fprintf(stderr, "%s\n", qPrintable(message)); }
    void showLateSamples(int) override {}

private:
    bool m_runEvents;
};

// A sound player that plays nothing.
class SilentSound : public SoundPlayer {
public:
    void close() override {}
    void setFileName(const QString&) override {}
    QString fileName() const override { return QString(); }
    void open() override {}
    void play() override {}
};
