#include "app/ui/CalloutStation.h"

#include "base/MessageTimerFactory.h"
#include "base/MonotonicClock.h"
#include "config/TSettings.h"
#include "platform/PcmPlayer.h"
#include "timing/Station.h"
#include "timing/TRace.h"
#include "timing/ui/hwunit.h"
#include "voice/CalloutQueue.h"
#include "voice/Callouts.h"
#include "voice/EspeakVoice.h"
#include "voice/ui/HlasPage.h"

#include <QMessageBox>

CalloutStation::CalloutStation(TSettings& settings, TForm1& form,
                               std::function<bool(int kart, qint64 lapMs)> isRecord, HlasPage& page)
    : m_settings(settings), m_form(form), m_voice(std::make_unique<EspeakVoice>()),
      m_player(std::make_unique<PcmPlayer>()),
      m_queue(std::make_unique<CalloutQueue>(*m_voice, *m_player, SteadyClock::instance(),
                                             MessageTimerFactory::instance())),
      m_callouts(std::make_unique<Callouts>(settings, form.station().driverNames(), *m_queue,
                                            SteadyClock::instance())) {
    // The end-of-race sound and the applause play on the main window's player and come first.
    m_queue->setPriorityBusy([this] { return m_form.MediaPlayer1().playing(); });
    m_callouts->isRecord = std::move(isRecord);

    RaceHooks& race = form.race().hooks();
    race.lapClosed = [this](int kart, qint64 lapMs, qint64 hitUs) {
        m_callouts->lapClosed(kart, lapMs, hitUs);
    };
    race.raceMinute = [this](int minutes, int raceMinutes) { m_callouts->minuteShown(minutes, raceMinutes); };
    race.raceTimeEnded = [this] { m_callouts->raceTimeEnded(); };
    // A new race begins with no best laps; the hook is shared with whoever filled it before.
    race.raceStarted = [this, before = race.raceStarted](qint64 startUs) {
        if (before)
            before(startUs);
        m_callouts->raceStarted();
    };

    page.hooks().switchedOn = [this, &page] { ready(&page); };
    page.hooks().testClicked = [this, &page] {
        m_failureShown = false;
        if (ready(&page))
            m_callouts->sample();
    };
    // Call-outs left on from the last run: the voice is loaded now, not at the first lap.
    if (settings.Hlas.Pouzit) {
        QString ignored;
        m_voice->load(ignored);
    }
}

CalloutStation::~CalloutStation() {
    unhook();
}

void CalloutStation::unhook() {
    RaceHooks& race = m_form.race().hooks();
    race.lapClosed = {};
    race.raceMinute = {};
    race.raceTimeEnded = {};
}

bool CalloutStation::ready(QWidget* parent) {
    QString error;
    if (m_voice->load(error) && m_player->available(error))
        return true;
    if (!std::exchange(m_failureShown, true))
        QMessageBox::warning(parent, QStringLiteral("Hlas"), error);
    return false;
}
