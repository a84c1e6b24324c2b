#include "voice/CalloutQueue.h"

#include "config/TSettings.h"
#include "timing/DriverNames.h"
#include "voice/Callouts.h"

#include "FakeClock.h"
#include "VirtualScheduler.h"
#include "VirtualTimerFactory.h"
#include "platform/PcmOutput.h"
#include "voice/SpeechVoice.h"

#include <gtest/gtest.h>

#include <deque>

namespace {

// A voice whose syntheses end when the test says so.
class StepVoice : public SpeechVoice {
public:
    bool load(QString&) override { return true; }
    void synthesize(const QString& text, int, Done done) override {
        pending.push_back({text, std::move(done)});
    }
    // Ends the oldest synthesis with a little sound.
    void finishOne() {
        auto [text, done] = std::move(pending.front());
        pending.pop_front();
        done(SpeechPcm{22050, QByteArray(200, '\x10'), 0});
    }
    std::deque<std::pair<QString, Done>> pending;
};

// An output whose playback ends when the test says so.
class StepOutput : public PcmOutput {
public:
    bool available(QString&) override { return true; }
    void play(const QByteArray&, int, int, std::function<void()> finished) override {
        m_finished = std::move(finished);
    }
    void stop() override { m_finished = {}; }
    bool playing() const { return bool(m_finished); }
    void finish() { std::exchange(m_finished, {})(); }

private:
    std::function<void()> m_finished;
};

struct QueueRig {
    FakeClock clock;
    VirtualScheduler scheduler{clock};
    VirtualTimerFactory timers{scheduler};
    StepVoice voice;
    StepOutput output;
    CalloutQueue queue{voice, output, clock, timers};
    QStringList said;
    bool soundPlays = false;

    QueueRig() {
        queue.started = [this](const QString& words) { said << words; };
        queue.setPriorityBusy([this] { return soundPlays; });
    }
    void lap(const QString& kart, const QString& time) {
        queue.push(Callout{kart + QStringLiteral(", ") + time, time, clock.nowUs()});
    }
    // Synthesis and playback of the call-out under way, each taking ms.
    void sayCurrent(qint64 ms) {
        scheduler.advance(ms);
        voice.finishOne();
        scheduler.advance(ms);
        output.finish();
    }
};

} // namespace

TEST(CalloutQueue, KartsPassingTogetherAreCalledInPassOrderTheLaterOnesShortWhenBehind) {
    QueueRig rig;
    rig.lap(QStringLiteral("Trojka"), QStringLiteral("třicet"));
    rig.scheduler.advance(40);
    rig.lap(QStringLiteral("Jednička"), QStringLiteral("dvacet devět"));
    rig.lap(QStringLiteral("Dvojka"), QStringLiteral("třicet jedna"));
    // One at a time: nothing else is synthesised while the first is under way.
    ASSERT_EQ(rig.voice.pending.size(), 1u);
    rig.sayCurrent(100);
    EXPECT_EQ(rig.said, QStringList{QStringLiteral("Trojka, třicet")});
    // The second starts 0.2 s after its lap: in full. The third starts 2 s after its lap: behind.
    ASSERT_EQ(rig.voice.pending.size(), 1u);
    rig.scheduler.advance(50);
    rig.voice.finishOne();
    rig.scheduler.advance(1700);
    rig.output.finish();
    rig.sayCurrent(10);
    EXPECT_EQ(rig.said,
              (QStringList{QStringLiteral("Trojka, třicet"), QStringLiteral("Jednička, dvacet devět"),
                           QStringLiteral("třicet jedna")}));
    EXPECT_EQ(rig.queue.dropped(), 0);
    EXPECT_TRUE(rig.queue.idle());
}

TEST(CalloutQueue, ACalloutThatCannotStartWithinThreeSecondsIsDropped) {
    QueueRig rig;
    rig.lap(QStringLiteral("Jednička"), QStringLiteral("dvacet"));
    rig.lap(QStringLiteral("Dvojka"), QStringLiteral("dvacet jedna"));
    rig.scheduler.advance(10);
    rig.voice.finishOne();
    // The first one talks for 3.5 s: the second's time is gone, the third, of a later lap, is said.
    rig.scheduler.advance(2000);
    rig.lap(QStringLiteral("Trojka"), QStringLiteral("dvacet dva"));
    rig.scheduler.advance(1500);
    rig.output.finish();
    rig.sayCurrent(10);
    EXPECT_EQ(rig.said, (QStringList{QStringLiteral("Jednička, dvacet"), QStringLiteral("dvacet dva")}));
    EXPECT_EQ(rig.queue.dropped(), 1);

    // Words that took too long to make are not said either: made 2.95 s after the lap, they would be
    // heard only after three seconds, once the sound server has opened their stream.
    rig.lap(QStringLiteral("Čtyřka"), QStringLiteral("dvacet tři"));
    rig.scheduler.advance(2950);
    rig.voice.finishOne();
    EXPECT_FALSE(rig.output.playing());
    EXPECT_EQ(rig.queue.dropped(), 2);
    EXPECT_TRUE(rig.queue.idle());
}

TEST(CalloutQueue, TheRacesSoundComesFirstAndACalloutWaitsForItUnderTheSameRule) {
    QueueRig rig;
    rig.soundPlays = true;
    rig.lap(QStringLiteral("Jednička"), QStringLiteral("dvacet"));
    rig.scheduler.advance(800);
    EXPECT_TRUE(rig.voice.pending.empty());
    rig.soundPlays = false;
    rig.scheduler.advance(CalloutQueue::WaitPollMs);
    ASSERT_EQ(rig.voice.pending.size(), 1u);
    // The sound starts again while the words are made: they wait at the front, then go.
    rig.soundPlays = true;
    rig.voice.finishOne();
    EXPECT_FALSE(rig.output.playing());
    rig.scheduler.advance(500);
    rig.soundPlays = false;
    rig.scheduler.advance(CalloutQueue::WaitPollMs);
    rig.sayCurrent(10);
    EXPECT_EQ(rig.said, QStringList{QStringLiteral("Jednička, dvacet")});

    // A sound longer than three seconds: the call-out is dropped, never said late.
    rig.soundPlays = true;
    rig.lap(QStringLiteral("Dvojka"), QStringLiteral("dvacet jedna"));
    rig.scheduler.advance(3000 + 2 * CalloutQueue::WaitPollMs);
    rig.soundPlays = false;
    rig.scheduler.advance(CalloutQueue::WaitPollMs);
    EXPECT_TRUE(rig.voice.pending.empty());
    EXPECT_EQ(rig.queue.dropped(), 1);
    EXPECT_EQ(rig.said.size(), 1);
}

// What the race's events say, by the section "Hlas": only the chosen karts, only a kart's best lap of
// the race, under the driver's name when known; the last minute once and the race's end.
TEST(Callouts, SayTheChosenKartsBestLapsAndTheRacesEnd) {
    QueueRig rig;
    TSettings settings;
    settings.Hlas = {true, 1, 0b0101, true, 80, 170};
    DriverNames names;
    names.setName(3, QStringLiteral("Jiří Šťastný"));
    Callouts callouts(settings, names, rig.queue, rig.clock);
    const auto sayAll = [&] {
        while (!rig.voice.pending.empty()) {
            rig.voice.finishOne();
            rig.output.finish();
        }
    };
    callouts.raceStarted();
    for (const auto& [kart, lapMs] :
         std::vector<std::pair<int, qint64>>{{1, 30000}, {2, 29000}, {1, 31000}, {3, 28500}, {1, 29990}}) {
        callouts.lapClosed(kart, lapMs, rig.clock.nowUs());
        sayAll();
    }
    callouts.minuteShown(4, 5);
    callouts.minuteShown(4, 5);
    sayAll();
    callouts.raceTimeEnded();
    sayAll();
    callouts.raceStarted();
    callouts.lapClosed(1, 31000, rig.clock.nowUs());
    sayAll();
    EXPECT_EQ(rig.said,
              (QStringList{QStringLiteral("Jednička, nejlepší kolo, třicet celá nula nula"),
                           QStringLiteral("Jiří Šťastný, nejlepší kolo, dvacet osm celá padesát"),
                           QStringLiteral("Jednička, nejlepší kolo, dvacet devět celá devadesát devět"),
                           QStringLiteral("Poslední minuta"), QStringLiteral("Konec závodu"),
                           QStringLiteral("Jednička, nejlepší kolo, třicet jedna celá nula nula")}));

    // Records only: a lap the tables would take, and only when it is the kart's best of the race.
    rig.said.clear();
    settings.Hlas.Co = 2;
    callouts.isRecord = [](int, qint64 lapMs) { return lapMs < 30500; };
    callouts.raceStarted();
    for (const qint64 lapMs : {31000, 30200, 30400, 29900})
        callouts.lapClosed(1, lapMs, rig.clock.nowUs());
    sayAll();
    EXPECT_EQ(rig.said, (QStringList{QStringLiteral("Jednička, rekord, třicet celá dvacet"),
                                     QStringLiteral("Jednička, rekord, dvacet devět celá devadesát")}));
}
