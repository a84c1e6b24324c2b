#include "base/MessageTimerFactory.h"
#include "base/MonotonicClock.h"
#include "platform/PcmPlayer.h"
#include "voice/CalloutQueue.h"
#include "voice/EspeakVoice.h"

#include "PulseNullSink.h"
#include "SinkRecording.h"

#include <QTest>

#include <gtest/gtest.h>

namespace {

constexpr int LoudLevel = 500;

// 10 ms windows above a whisper's level in samples at their rate.
int loudWindowsOf(const SpeechPcm& pcm) {
    const auto* samples = reinterpret_cast<const qint16*>(pcm.samples.constData());
    const qsizetype count = pcm.samples.size() / 2;
    const qsizetype window = pcm.sampleRate / 100;
    int loud = 0;
    for (qsizetype start = 0; start + window <= count; start += window) {
        const auto peak = std::max_element(samples + start, samples + start + window,
                                           [](qint16 a, qint16 b) { return std::abs(a) < std::abs(b); });
        if (std::abs(int(*peak)) > LoudLevel)
            ++loud;
    }
    return loud;
}

// The real voice, counting how much of what it made is voiced.
class CountingVoice : public SpeechVoice {
public:
    explicit CountingVoice(SpeechVoice& voice) : m_voice(voice) {}
    bool load(QString& error) override { return m_voice.load(error); }
    void synthesize(const QString& text, int words, Done done) override {
        m_voice.synthesize(text, words, [this, done = std::move(done)](SpeechPcm pcm) {
            loudWindows += loudWindowsOf(pcm);
            done(std::move(pcm));
        });
    }
    int loudWindows = 0;

private:
    SpeechVoice& m_voice;
};

} // namespace

// The call-outs through the real output: the Czech voice and the player on the media framework, into
// a sound server whose sink is recorded. A call-out said while another plays waits for it, and each
// is heard whole: what the sink played is as much voiced sound as the voice made, more than half a
// second of it, so neither was cut off by the other, nor its last word by the end of its playback.
TEST(CalloutSink, PlaysEachCalloutWholeIntoARealSoundServer) {
    PulseNullSink server;
    QString why;
    if (!server.start(&why))
        GTEST_SKIP() << "no sound server can run here: " << why.toStdString();
    server.useInThisProcess();

    EspeakVoice espeak;
    CountingVoice voice(espeak);
    PcmPlayer player;
    QString error;
    ASSERT_TRUE(voice.load(error)) << error.toStdString();
    ASSERT_TRUE(player.available(error)) << error.toStdString();
    SteadyClock& clock = SteadyClock::instance();
    SinkRecording recording(server, 48000, [&clock] { return clock.nowUs(); });
    ASSERT_TRUE(recording.start(&why)) << why.toStdString();
    const qint64 before = recording.samples().size() / 2;

    CalloutQueue queue(voice, player, clock, MessageTimerFactory::instance());
    queue.setVolume(100);
    QStringList said;
    queue.started = [&](const QString& words) {
        said << words;
        // The next lap closes while the first call-out is said.
        if (said.size() == 1)
            queue.push({QStringLiteral("Trojka, dvacet devět"), {}, clock.nowUs()});
    };
    queue.push({QStringLiteral("Dvojka, třicet jedna"), {}, clock.nowUs()});
    ASSERT_TRUE(QTest::qWaitFor([&] { return said.size() == 2 && queue.idle(); }, 30000));
    EXPECT_EQ(queue.dropped(), 0);

    EXPECT_EQ(said,
              QStringList({QStringLiteral("Dvojka, třicet jedna"), QStringLiteral("Trojka, dvacet devět")}));

    // The recording comes a little after the sink has played: it holds all once 0.3 s of silence has
    // followed (longer than any pause within a call-out).
    const qint64 handedOver = recording.samples().size() / 2;
    const auto quietAfter = [&] {
        const qint64 count = recording.samples().size() / 2;
        const qint64 from = count - recording.sampleRate() * 3 / 10;
        return from > handedOver && recording.onset(LoudLevel, from) < 0;
    };
    ASSERT_TRUE(QTest::qWaitFor(quietAfter, 30000));
    recording.stop();
    const int heard = recording.loudWindows(LoudLevel, before);
    EXPECT_GE(heard, 50);
    // The end of a word is a few windows; resampling moves a window's edge by one at most.
    EXPECT_GE(heard, voice.loudWindows - 4) << "made " << voice.loudWindows;
    EXPECT_LE(heard, voice.loudWindows + 8) << "made " << voice.loudWindows;
}
