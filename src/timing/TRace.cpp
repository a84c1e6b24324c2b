#include "timing/TRace.h"

#include "base/Hooks.h"
#include "base/ITimer.h"
#include "base/MessageText.h"
#include "base/MonotonicClock.h"
#include "base/UserError.h"
#include "config/DataFolder.h"
#include "config/TSettings.h"
#include "hardware/SerialSensorPort.h"
#include "hardware/StartLights.h"
#include "hardware/TSmallPort.h"
#include "platform/SoundPlayback.h"
#include "platform/SoundPlayer.h"
#include "timing/DriverNames.h"
#include "timing/JournalSink.h"
#include "timing/LapFile.h"
#include "timing/LapList.h"
#include "timing/LapTime.h"
#include "timing/RaceJournalReader.h"
#include "timing/RaceView.h"

#include <QDir>

#include <algorithm>
#include <utility>

namespace {

constexpr quint8 InputMasks[4] = {0x08, 0x10, 0x20, 0x40};

void disable(ITimer* timer) {
    if (timer)
        timer->setEnabled(false);
}

void enable(ITimer* timer) {
    if (timer)
        timer->setEnabled(true);
}

// A race time as the whole milliseconds a lap is counted in, to the nearest. Each hit's race time is
// rounded, not each lap: the laps then add up to the race time of the last hit, as they always have,
// instead of drifting from it by up to half a millisecond a lap.
qint64 roundedMs(qint64 us) {
    return us >= 0 ? (us + 500) / 1000 : -((-us + 500) / 1000);
}

} // namespace

TRace::TRace(RaceDeps deps)
    : m_settings(deps.settings), m_port(deps.port), m_clock(deps.clock), m_timers(deps.timers),
      m_sound(deps.sound), m_lights(deps.lights), m_view(deps.view), m_serial(deps.serial),
      m_names(deps.names), m_dataFolder(deps.dataFolder), m_wallClock(std::move(deps.wallClock)) {
    if (!m_wallClock)
        m_wallClock = [] { return QDateTime::currentDateTime(); };
    for (int k = 1; k <= 4; ++k) {
        TLapChannel& ch = channel(k);
        ch.Kart = k;
        ch.KartName = QStringLiteral("kara%1").arg(k);
        ch.InputMask = InputMasks[k - 1];
        ch.Sampler = m_timers.samplers[k - 1];
        ch.DeadTimer = m_timers.deadTimers[k - 1];
        ch.Laps = deps.lapLists[k - 1];
        if (ch.Sampler) {
            ch.Sampler->setAllowZero(true);
            ch.Sampler->setInterval(SamplerIntervalMs);
            ch.Sampler->setProbe([this, k] { return sensorProbe(k); });
            ch.Sampler->setOnTimer([this, k] { takeHit(k); });
        }
        if (ch.DeadTimer) {
            ch.DeadTimer->setAllowZero(true);
            ch.DeadTimer->setOnTimer([this, k] { deadTimeEnd(k); });
        }
        if (ch.Laps)
            QObject::connect(ch.Laps, &LapList::changed, ch.Laps, [this, k] { operatorChangedList(k); });
    }
    if (m_timers.display) {
        m_timers.display->setAllowZero(false);
        m_timers.display->setInterval(DisplayIntervalMs);
        m_timers.display->setOnTimer([this] { ZobrazTimerTimer(); });
    }
}

void TRace::setDeadTimeInterval(quint32 ms) {
    for (TLapChannel& ch : m_channels) {
        if (ch.DeadTimer)
            ch.DeadTimer->setInterval(ms);
    }
}

void TRace::StartButton1Click(qint64 pressUs) {
    if (m_hooks.startStopAllowed && !m_hooks.startStopAllowed())
        return;
    if (m_state == RaceState::Idle)
        start(pressUs);
    else
        stop();
}

void TRace::start(qint64 pressUs) {
    // The serial port first: a race that could not time its karts must not start at all.
    if (m_settings.PoSpusteni.COM && m_serial && !m_serial->isOpen()) {
        try {
            m_serial->open();
        } catch (const UserError& error) {
            returnToRest();
            m_view.showError(error.message());
            return;
        }
    }
    // Names that stand from the last race are not this race's drivers.
    if (m_names && m_settings.Zavod.VymazatJmena)
        m_names->clearFromLastRace();
    // Before the lights, so that a missing sound is said once and the race is timed without it.
    m_endSound = m_settings.Zvuk.Hrat && openEndSound();

    m_view.setButtonEnabled(RaceButton::StavKar, false);
    m_view.setButtonEnabled(RaceButton::Statistika, false);
    m_view.setButtonEnabled(RaceButton::Tisk, false);
    m_view.setButtonEnabled(RaceButton::TopTen, false);
    m_state = RaceState::Running;
    m_view.setRunning(true);

    for (TLapChannel& ch : m_channels) {
        if (ch.Laps)
            ch.Laps->clear();
        ch.Measured.clear();
    }

    const auto green = quint8(m_settings.Semafor.Zelena);
    const auto orange = quint8(m_settings.Semafor.Oranzova);
    const auto red = quint8(m_settings.Semafor.Cervena);
    const bool lights = m_settings.Semafor.Pouzij;
    if (lights)
        m_lights.runStartSequence(green, orange, red, m_settings.Semafor.Prodleva);

    m_endPending = true;

    // Nothing the serial sensors sent before this instant belongs to a lap of this race: not a hit
    // taken while the race was at rest, nor bytes still waiting to be read (sent while the port was
    // closed, or while the lights held the main thread).
    if (m_serial)
        m_serial->discardReceived();
    for (TLapChannel& ch : m_channels)
        ch.PendingHitUs = TLapChannel::NoHit;

    const qint64 now = m_clock.nowUs();
    m_startUs = lights || pressUs == TLapChannel::NoHit ? now : std::min(pressUs, now);
    m_startWallTime = m_wallClock().addMSecs(-(now - m_startUs) / 1000);

    m_journalFailed = false;
    if (m_journal) {
        JournalHead head;
        head.start = m_startWallTime;
        head.raceMinutes = m_view.raceMinutes();
        const bool lpt = m_settings.PoSpusteni.LPT;
        const bool com = m_settings.PoSpusteni.COM;
        head.sensors = lpt && com ? QStringLiteral("paralelní a sériový port")
                       : lpt      ? QStringLiteral("paralelní port")
                       : com      ? QStringLiteral("sériový port")
                                  : QStringLiteral("žádná");
        if (m_names)
            head.names = m_names->names();
        journalCall([&] { m_journal->begin(head); });
    }

    takeSensorSettings();
    for (TLapChannel& ch : m_channels) {
        ch.LastSampleUs = now;
        enable(ch.Sampler);
    }
    callHook(m_hooks.raceStarted, m_startUs);

    enable(m_timers.display);
    tellJournalProblem();
    m_view.processPendingEvents();
}

bool TRace::openEndSound() {
    return SoundPlayback::open(m_sound, soundFilePath(), QStringLiteral("Závod poběží bez zvuku na konci."),
                               [this](const QString& message) { m_view.showError(message); });
}

void TRace::stop() {
    if (m_serial && m_serial->isOpen())
        m_serial->close();

    Reset_Promenych();
    endRace(false, false);
}

void TRace::finishRecoveredRace(const RecoveredRace& recovered, bool resumeJournal) {
    if (running())
        return;
    // Before the lists are filled: whoever follows them takes the race for the one started then.
    m_startWallTime = recovered.head.start;
    for (TLapChannel& ch : m_channels) {
        ch.Measured.clear();
        for (qint64 lap : recovered.measured[ch.Kart - 1])
            ch.Measured << FormatLapTime(lap);
        if (ch.Laps)
            ch.Laps->setEntries(recovered.lists[ch.Kart - 1]);
    }
    m_journalFailed = false;
    if (m_journal && resumeJournal)
        journalCall([&] { m_journal->resume(recovered.validBytes); });
    endRace(recovered.engineTimeStored, recovered.lapFilesKept);
}

void TRace::endRace(bool engineTimeStored, bool lapFilesKept) {
    // The steps of the later parts: a file one of them cannot read or write costs that step, not the
    // STOP, which always brings the race to rest with its buttons back.
    const auto step = [this](const std::function<void()>& hook) {
        try {
            callHook(hook);
            return true;
        } catch (const UserError& error) {
            m_view.showError(error.message());
            return false;
        }
    };
    // Each step whose result is on the disk is marked in the journal, so that a crash later in the
    // end (the reminder or best-twenty window open) does not make the recovery do it twice.
    QStringList notLaps;
    if (!engineTimeStored) {
        notLaps = AccountEngineTime();
        step(m_hooks.UpdateFuelFigures);
        step(m_hooks.CheckFuel);
        if (step(m_hooks.kartStateOk) && m_journal)
            journalCall([this] { m_journal->step(JournalStep::EngineTimeStored); });
    }

    if (m_settings.Ostatni.PrvniKolo) {
        for (TLapChannel& ch : m_channels) {
            if (ch.Laps)
                ch.Laps->removeFirst();
        }
    }
    if (m_settings.HW.Mazat) {
        const qint64 shortest = qint64(m_settings.HW.MazatCas) * 1000;
        for (TLapChannel& ch : m_channels) {
            if (ch.Laps)
                ch.Laps->removeBelow(shortest);
        }
    }

    if (!lapFilesKept) {
        if (m_settings.Ostatni.UlozitZavody)
            keepLapFiles();
        if (m_journal)
            journalCall([this] { m_journal->step(JournalStep::LapFilesKept); });
    }
    step(m_hooks.raceKept);

    step(m_hooks.showRemindersIfAny);
    step(m_hooks.TopTenDeset);
    if (m_names)
        m_names->markRaceEnded();
    finishJournal();

    m_view.setButtonEnabled(RaceButton::StavKar, true);
    m_view.setButtonEnabled(RaceButton::Statistika, true);
    m_view.setRunning(false);
    // The watch samples the button every 2 ms: only where the button may act is it worth the cost.
    if (m_settings.Ostatni.ExtStart)
        enable(m_timers.extStart);
    m_view.setButtonEnabled(RaceButton::Tisk, true);
    m_view.setButtonEnabled(RaceButton::TopTen, true);

    if (!notLaps.isEmpty())
        m_view.showError(QStringLiteral("Tyto záznamy nejsou časy kol, do motohodin ani do tabulek "
                                        "nejlepších časů se nezapočítaly:\n") +
                         notLaps.join(QLatin1Char('\n')));
    tellJournalProblem();
}

void TRace::journalCall(const std::function<void()>& call) {
    try {
        call();
    } catch (const UserError& error) {
        if (!m_journalFailed && m_journalProblem.isEmpty())
            m_journalProblem = error.message();
    }
}

void TRace::tellJournalProblem() {
    if (m_journalProblem.isEmpty())
        return;
    m_journalFailed = true;
    const QString problem = std::exchange(m_journalProblem, QString());
    m_view.showError(problem + QStringLiteral("\nZávod se měří dál, ale při výpadku programu nebo napájení "
                                              "se jeho kola neobnoví."));
}

void TRace::finishJournal() {
    if (m_journal)
        journalCall([this] { m_journal->finish(); });
}

void TRace::operatorChangedList(int kart) {
    TLapChannel& ch = channel(kart);
    if (m_state != RaceState::Running || m_appending || !m_journal || !m_journal->isOpen() || !ch.Laps)
        return;
    journalCall([&] { m_journal->listChanged(kart, ch.Laps->entries()); });
    tellJournalProblem();
}

void TRace::returnToRest() {
    Reset_Promenych();
    for (RaceButton button :
         {RaceButton::StavKar, RaceButton::Statistika, RaceButton::Tisk, RaceButton::TopTen})
        m_view.setButtonEnabled(button, true);
}

void TRace::closeProgram() {
    const bool wasRunning = m_state == RaceState::Running;
    if (wasRunning && m_settings.Ostatni.UlozitZavody)
        keepLapFiles();
    Reset_Promenych();
    // Once the laps are kept, the journal has nothing more to save. A STOP still under way (its
    // reminder or best-twenty window open) removes it itself when it is done.
    if (wasRunning) {
        callHook(m_hooks.raceKept);
        finishJournal();
    }
}

void TRace::Reset_Promenych() {
    ++m_stopCount;
    for (TLapChannel& ch : m_channels)
        disable(ch.Sampler);
    disable(m_timers.display);
    for (TLapChannel& ch : m_channels)
        disable(ch.DeadTimer);

    m_view.setClockDisplay(ClockDisplay::Millis, 0);
    m_view.setClockDisplay(ClockDisplay::Seconds, 0);
    m_view.setClockDisplay(ClockDisplay::Minutes, 0);

    for (TLapChannel& ch : m_channels) {
        ch.LastMarkUs = 0;
        ch.ElapsedUs = 0;
        ch.LastSampleUs = TLapChannel::NoHit;
    }
    m_clockElapsed = 0;
    hideFlag();

    m_view.setLamp(Lamp::Red, true);
    m_view.setLamp(Lamp::Green, false);
    m_view.setLamp(Lamp::Orange, false);
    const bool wasRunning = m_state == RaceState::Running;
    m_state = RaceState::Idle;
    m_view.setRunning(false);
    if (wasRunning)
        callHook(m_hooks.raceAtRest);
}

QStringList TRace::AccountEngineTime() {
    // One message names a few, however many the operator typed.
    constexpr int Named = 5;
    QStringList notLaps;
    int notLapCount = 0;
    for (TLapChannel& ch : m_channels) {
        qint64 seconds = 0;
        if (ch.Laps) {
            for (const QString& entry : ch.Laps->entries()) {
                qint64 lap = 0;
                if (TryParseLapTime(entry, &lap))
                    seconds += lap / 1000;
                else if (++notLapCount <= Named)
                    notLaps << QStringLiteral("kára %1: \u201e%2\u201c")
                                   .arg(ch.Kart)
                                   .arg(shortenedForMessage(entry));
            }
        }
        // Seconds, not minutes: the upkeep keeps what does not make a whole minute for the next race.
        callHook(m_hooks.addDriven, ch.Kart, seconds);
    }
    if (notLapCount > Named)
        notLaps << QStringLiteral("(celkem %1 takových záznamů)").arg(notLapCount);
    return notLaps;
}

void TRace::takeSensorSettings() {
    m_sampleParallelPort = m_settings.PoSpusteni.LPT;
    m_watchSerialLine = m_settings.PoSpusteni.COM && m_serial;
    m_sensorActiveHigh = m_settings.HW.Negace;
}

bool TRace::sensorProbe(int kart) {
    TLapChannel& ch = m_channels[kart - 1];
    qint64 now = m_clock.nowUs();
    const qint64 previous = ch.LastSampleUs.exchange(now);
    if (previous != TLapChannel::NoHit && now - previous > LateSampleMs * 1000)
        ++m_lateSamples;
    bool active = false;
    if (m_sampleParallelPort)
        active = ((m_port.sampleStatus(now) & ch.InputMask) != 0) == m_sensorActiveHigh;
    if (m_watchSerialLine && now - m_serialNoticeUs.exchange(now) > SharedNoticeUs)
        m_serial->noticeWaiting(now);
    const qint64 serial = ch.PendingHitUs.exchange(TLapChannel::NoHit);
    if (!active && serial == TLapChannel::NoHit)
        return false;
    // A burst is timed by its arrival, which may be before this sample.
    ch.HitUs = serial == TLapChannel::NoHit ? now : active ? std::min(serial, now) : serial;
    return true;
}

void TRace::takeHit(int kart) {
    TLapChannel& ch = m_channels[kart - 1];
    const qint64 hit = ch.HitUs.exchange(TLapChannel::NoHit);
    // A hit handed over before a STOP and run after the next START belongs to no lap of this race.
    if (hit == TLapChannel::NoHit || hit < m_startUs)
        return;
    closeLap(ch, hit);
}

void TRace::closeLap(TLapChannel& ch, qint64 hitUs) {
    disable(ch.Sampler);
    ch.LastSampleUs = TLapChannel::NoHit;
    disable(m_timers.hwLog0);

    ch.ElapsedUs = hitUs - m_startUs;
    const qint64 lap =
        roundedMs(ch.ElapsedUs) - roundedMs(ch.LastMarkUs) - qint64(m_settings.HW.Chyba[ch.Kart - 1]);

    // Under the flag a kart's first pass is its last: the lap counts and the sampler stays off, so
    // that no later pass does. A pass stamped before the flag fell is an ordinary lap.
    const bool lastLap = m_flagShown && hitUs >= m_flagUs;
    if (lastLap)
        m_finished[ch.Kart - 1] = true;

    const QString text = FormatLapTime(lap);
    // The pass is on the disk before anything shows it: the lap list, and everything that follows the
    // list (the audience window, the page). Written here, on the main thread, the sync holds up only
    // this hand-over; the samplers go on stamping their passes on their own thread meanwhile.
    if (m_journal)
        journalCall([&] { m_journal->pass(ch.Kart, lap, ch.ElapsedUs); });
    ch.Measured << text;
    if (ch.Laps) {
        const bool appending = std::exchange(m_appending, true);
        ch.Laps->appendAndSelect(text);
        m_appending = appending;
    }
    ch.LastMarkUs = ch.ElapsedUs;
    tellJournalProblem();
    callHook(m_hooks.lapClosed, ch.Kart, lap, hitUs);

    if (m_settings.HW.Rizeni)
        enable(m_timers.hwLog0);

    const quint64 stopsBefore = m_stopCount;
    m_view.processPendingEvents();
    // A STOP run by a nested event has put the channel to rest; arming the dead time now would
    // bring the sampler back after the race.
    if (m_stopCount == stopsBefore && !lastLap)
        enable(ch.DeadTimer);
    // A burst that came while this lap was closed is no lap: the dead time now keeps further ones out.
    ch.PendingHitUs = TLapChannel::NoHit;
}

void TRace::deadTimeEnd(int kart) {
    TLapChannel& ch = m_channels[kart - 1];
    disable(ch.DeadTimer);
    ch.LastSampleUs = m_clock.nowUs();
    takeSensorSettings();
    enable(ch.Sampler);
}

void TRace::ZobrazTimerTimer() {
    const qint64 nowUs = m_clock.nowUs();
    m_clockElapsed = (nowUs - m_startUs) / 1000;
    // The probes count samples that came late; the operator sees the count with the clock.
    const int late = m_lateSamples;
    if (late != m_lateSamplesShown) {
        m_lateSamplesShown = late;
        m_view.showLateSamples(late);
    }
    const auto secs = qint32(m_clockElapsed / 1000);
    const auto millis = int((m_clockElapsed - qint64(secs) * 1000) % 1000);
    const int seconds = secs % 60;
    const int minutes = (secs / 60) % 60;

    m_view.setClockDisplay(ClockDisplay::Millis, millis);
    if (m_view.clockDisplay(ClockDisplay::Seconds) != seconds) {
        m_view.setClockDisplay(ClockDisplay::Seconds, seconds);
        m_view.processPendingEvents();
    }
    if (m_view.clockDisplay(ClockDisplay::Minutes) != minutes) {
        m_view.setClockDisplay(ClockDisplay::Minutes, minutes);
        callHook(m_hooks.raceMinute, minutes, m_view.raceMinutes());
    }

    if (m_settings.TVOUT.Pouzit && m_hooks.audienceClock)
        m_hooks.audienceClock(millis, seconds, minutes);

    if (minutes == m_view.raceMinutes() && m_endPending) {
        m_endPending = false;
        m_lights.showRaceEnd(m_endRedMask);
        if (m_endSound)
            m_sound.play();
        callHook(m_hooks.raceTimeEnded);
        if (m_settings.Zavod.Dojeti)
            showFlag(nowUs);
    }
    if (m_flagShown)
        checkFinish(nowUs);
}

void TRace::showFlag(qint64 nowUs) {
    m_flagShown = true;
    m_flagUs = nowUs;
    m_finished.fill(false);
    m_view.showChequeredFlag(true);
    callHook(m_hooks.chequeredFlag, true);
}

void TRace::hideFlag() {
    if (!m_flagShown)
        return;
    m_flagShown = false;
    m_view.showChequeredFlag(false);
    callHook(m_hooks.chequeredFlag, false);
}

void TRace::checkFinish(qint64 nowUs) {
    bool allIn = true;
    for (const TLapChannel& ch : m_channels) {
        if (!ch.Measured.isEmpty() && !m_finished[ch.Kart - 1])
            allIn = false;
    }
    // A kart that never passes again must not hold the race.
    const bool limitPassed = nowUs - m_flagUs >= qint64(m_settings.Zavod.Limit) * 1000000;
    if (!allIn && !limitPassed)
        return;
    // During a backup the race waits; the next tick asks again.
    if (m_hooks.startStopAllowed && !m_hooks.startStopAllowed())
        return;
    stop();
    callHook(m_hooks.stoppedByItself);
}

void TRace::CasZavoduChange(int minutes) {
    if (m_settings.TVOUT.Pouzit && m_hooks.audienceRaceLength)
        m_hooks.audienceRaceLength(minutes);
}

QString TRace::keptLapFileName(const QDateTime& start, int kart) {
    return start.toString(QStringLiteral("yyyy-MM-dd HH-mm-ss")) + QStringLiteral(" kara%1.txt").arg(kart);
}

QString TRace::freeKeptLapFilePath(const QString& folder, const QDateTime& start, int kart) {
    const QDir dir(folder);
    QString name = keptLapFileName(start, kart);
    for (int copy = 2; dir.exists(name); ++copy)
        name = keptLapFileName(start, kart).chopped(4) + QStringLiteral(" (%1).txt").arg(copy);
    return dir.filePath(name);
}

// Kept files are the record of what was measured: the laps as the race closed them, before the STOP
// filters and whatever the operator changed in the lists.
void TRace::keepLapFiles() {
    const bool anyLaps = std::any_of(m_channels.begin(), m_channels.end(),
                                     [](const TLapChannel& ch) { return !ch.Measured.isEmpty(); });
    if (!anyLaps || m_dataFolder.isEmpty())
        return;
    const QString folder = DataFolder::resolve(m_dataFolder, QStringLiteral("vysledky"));
    QDir().mkpath(folder);
    QString namesPath;
    for (const TLapChannel& ch : m_channels) {
        if (ch.Measured.isEmpty())
            continue;
        try {
            const QString path = freeKeptLapFilePath(folder, m_startWallTime, ch.Kart);
            saveLapFile(path, ch.Measured);
            if (namesPath.isEmpty())
                namesPath = DriverNames::keptFileBeside(path);
        } catch (const UserError& error) {
            // Keeping the race is a courtesy: the STOP itself goes on.
            m_view.showError(error.message());
        }
    }
    // The names beside the laps, with the copy number of the race's first kept lap file.
    if (m_names && m_names->anyName() && !namesPath.isEmpty()) {
        try {
            DriverNames::save(namesPath, m_names->names());
        } catch (const UserError& error) {
            m_view.showError(error.message());
        }
    }
}

QString TRace::soundFilePath() const {
    return DataFolder::resolve(m_dataFolder, QStringLiteral("zvuky/") + m_settings.Zvuk.jmeno);
}
