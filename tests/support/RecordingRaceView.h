#pragma once

#include "timing/RaceView.h"

#include <QStringList>

#include <functional>
#include <map>

// A main window stand-in that keeps the state the race gave it and a log of every call in order.
class RecordingRaceView : public RaceView {
public:
    void setLamp(Lamp lamp, bool on) override;
    void repaintStartGroup() override;
    void setRunning(bool running) override;
    void setButtonEnabled(RaceButton button, bool enabled) override;
    void setClockDisplay(ClockDisplay display, int value) override;
    int clockDisplay(ClockDisplay display) const override;
    int raceMinutes() const override { return m_raceMinutes; }
    void processPendingEvents() override;
    void showError(const QString& message) override;
    void showLateSamples(int count) override { m_lateSamples = count; }
    int lateSamples() const { return m_lateSamples; }

    void setRaceMinutes(int minutes) { m_raceMinutes = minutes; }
    // Runs inside processPendingEvents, as a nested handler would.
    std::function<void()> onProcessEvents;

    bool lamp(Lamp lamp) const;
    bool running() const { return m_running; }
    bool buttonEnabled(RaceButton button) const;
    const QStringList& errors() const { return m_errors; }
    const QStringList& log() const { return m_log; }
    void clearLog() { m_log.clear(); }
    // Log entries that start with prefix, in order.
    QStringList logOf(const QString& prefix) const;

    static QString lampName(Lamp lamp);
    static QString buttonName(RaceButton button);

private:
    std::map<Lamp, bool> m_lamps{{Lamp::Red, false}, {Lamp::Orange, false}, {Lamp::Green, false}};
    std::map<RaceButton, bool> m_buttons{{RaceButton::StavKar, true},
                                         {RaceButton::Statistika, true},
                                         {RaceButton::Tisk, true},
                                         {RaceButton::TopTen, true}};
    std::map<ClockDisplay, int> m_clock{
        {ClockDisplay::Millis, 0}, {ClockDisplay::Seconds, 0}, {ClockDisplay::Minutes, 0}};
    bool m_running = false;
    int m_raceMinutes = 10;
    bool m_inEvents = false;
    QStringList m_errors;
    int m_lateSamples = 0;
    QStringList m_log;
};
