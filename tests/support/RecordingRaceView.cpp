#include "RecordingRaceView.h"

namespace {
QString onOff(bool on) {
    return on ? QStringLiteral("on") : QStringLiteral("off");
}
} // namespace

QString RecordingRaceView::lampName(Lamp lamp) {
    switch (lamp) {
    case Lamp::Red:
        return QStringLiteral("red");
    case Lamp::Orange:
        return QStringLiteral("orange");
    case Lamp::Green:
        return QStringLiteral("green");
    }
    return QString();
}

QString RecordingRaceView::buttonName(RaceButton button) {
    switch (button) {
    case RaceButton::StavKar:
        return QStringLiteral("Sta&v kár");
    case RaceButton::Statistika:
        return QStringLiteral("&Statistika");
    case RaceButton::Tisk:
        return QStringLiteral("&Tisk");
    case RaceButton::TopTen:
        return QStringLiteral("&Nejlepších dvacet časů");
    }
    return QString();
}

void RecordingRaceView::setLamp(Lamp lamp, bool on) {
    m_lamps[lamp] = on;
    m_log << QStringLiteral("lamp %1 %2").arg(lampName(lamp), onOff(on));
}

void RecordingRaceView::repaintStartGroup() {
    m_log << QStringLiteral("repaint");
}

void RecordingRaceView::setRunning(bool running) {
    m_running = running;
    m_log << (running ? QStringLiteral("caption STOP") : QStringLiteral("caption START"));
}

void RecordingRaceView::setButtonEnabled(RaceButton button, bool enabled) {
    m_buttons[button] = enabled;
    m_log << QStringLiteral("button %1 %2").arg(buttonName(button), onOff(enabled));
}

void RecordingRaceView::setClockDisplay(ClockDisplay display, int value) {
    m_clock[display] = value;
}

int RecordingRaceView::clockDisplay(ClockDisplay display) const {
    return m_clock.at(display);
}

void RecordingRaceView::processPendingEvents() {
    m_log << QStringLiteral("events");
    // Nested event processing does not re-enter itself here.
    if (onProcessEvents && !m_inEvents) {
        m_inEvents = true;
        onProcessEvents();
        m_inEvents = false;
    }
}

void RecordingRaceView::showError(const QString& message) {
    m_errors << message;
    m_log << QStringLiteral("error ") + message;
}

bool RecordingRaceView::lamp(Lamp lamp) const {
    return m_lamps.at(lamp);
}

bool RecordingRaceView::buttonEnabled(RaceButton button) const {
    return m_buttons.at(button);
}

QStringList RecordingRaceView::logOf(const QString& prefix) const {
    QStringList out;
    for (const QString& line : m_log) {
        if (line.startsWith(prefix))
            out << line;
    }
    return out;
}
