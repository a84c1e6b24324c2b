#include "voice/Callouts.h"

#include "base/MonotonicClock.h"
#include "config/TSettings.h"
#include "timing/DriverNames.h"
#include "voice/CalloutQueue.h"
#include "voice/CzechPhrases.h"

Callouts::Callouts(TSettings& settings, const DriverNames& names, CalloutQueue& queue, MonotonicClock& clock)
    : m_settings(settings), m_names(names), m_queue(queue), m_clock(clock) {}

void Callouts::raceStarted() {
    m_bestMs.fill(0);
    m_lastMinuteSaid = false;
    m_queue.clear();
}

bool Callouts::wanted(int kart) const {
    return m_settings.Hlas.Pouzit && kart >= 1 && kart <= 4 &&
           (m_settings.Hlas.Karty & (1 << (kart - 1))) != 0;
}

QString Callouts::who(int kart) const {
    const QString name = m_names.name(kart);
    return name.isEmpty() ? CzechPhrases::kartWord(kart) : name;
}

void Callouts::lapClosed(int kart, qint64 lapMs, qint64 hitUs) {
    if (kart < 1 || kart > 4 || lapMs <= 0)
        return;
    qint64& best = m_bestMs[kart - 1];
    const bool bestLap = best == 0 || lapMs < best;
    if (bestLap)
        best = lapMs;
    if (!wanted(kart))
        return;
    QString text;
    switch (m_settings.Hlas.Co) {
    case 1:
        if (!bestLap)
            return;
        text = CzechPhrases::callout(who(kart), lapMs, true);
        break;
    case 2:
        // Only the kart's best lap of the race is offered to the tables at STOP: a slower lap that
        // would enter them is not a record the race keeps.
        if (!bestLap || !isRecord || !isRecord(kart, lapMs))
            return;
        text = who(kart) + QStringLiteral(", rekord, ") + CzechPhrases::lapTime(lapMs);
        break;
    default:
        text = CzechPhrases::callout(who(kart), lapMs, false);
        break;
    }
    push(Callout{text, CzechPhrases::lapTime(lapMs), hitUs});
}

void Callouts::minuteShown(int minutes, int raceMinutes) {
    if (!m_settings.Hlas.Pouzit || !m_settings.Hlas.Konec || m_lastMinuteSaid || raceMinutes < 2 ||
        minutes != raceMinutes - 1)
        return;
    m_lastMinuteSaid = true;
    push(Callout{QStringLiteral("Poslední minuta"), QString(), m_clock.nowUs()});
}

void Callouts::raceTimeEnded() {
    if (!m_settings.Hlas.Pouzit || !m_settings.Hlas.Konec)
        return;
    push(Callout{QStringLiteral("Konec závodu"), QString(), m_clock.nowUs()});
}

void Callouts::sample() {
    push(Callout{CzechPhrases::callout(who(2), 31240, false), QString(), m_clock.nowUs()});
}

void Callouts::push(Callout callout) {
    m_queue.setWordsPerMinute(m_settings.Hlas.Rychlost);
    m_queue.setVolume(m_settings.Hlas.Hlasitost);
    m_queue.push(std::move(callout));
}
