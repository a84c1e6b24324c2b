// The spoken call-outs' latency: from a lap closing (the race's hook) to the first samples handed to
// the sound device's sink, and the processor time espeak-ng takes per call-out. Without a sound device
// the samples count as handed over when the queue gives them to the output.
//
// --pulse: a race against a private PulseAudio server whose null sink is recorded from its monitor
// (Debian's pulseaudio and pulseaudio-utils). The laps then come at a race's irregular pace, each
// call-out is also timed to its first voiced sound at the monitor, and at the end the end-of-race
// sound and the applause play on the sound player with a call-out pushed at the same instant: the
// call-out must be heard after them.
#include "base/MessageTimerFactory.h"
#include "base/MonotonicClock.h"
#include "config/SettingsTable.h"
#include "config/TSettings.h"
#include "platform/MultimediaSoundPlayer.h"
#include "platform/PcmPlayer.h"
#include "timing/DriverNames.h"
#include "voice/CalloutQueue.h"
#include "voice/Callouts.h"
#include "voice/EspeakVoice.h"

#include "PulseNullSink.h"
#include "SinkRecording.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QRandomGenerator>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <deque>
#include <memory>
#include <vector>

namespace {

constexpr int RecordRate = 48000;
constexpr int LoudLevel = 500;
constexpr qint64 LateUs = 3'000'000;

// Passes the real voice's work through and keeps its processor time.
class MeasuredVoice : public SpeechVoice {
public:
    explicit MeasuredVoice(SpeechVoice& voice) : m_voice(voice) {}
    bool load(QString& error) override { return m_voice.load(error); }
    void synthesize(const QString& text, int words, Done done) override {
        m_voice.synthesize(text, words, [this, done = std::move(done)](SpeechPcm pcm) {
            cpuUs.push_back(pcm.cpuUs);
            audioMs.push_back(pcm.sampleRate ? qint64(pcm.samples.size()) / 2 * 1000 / pcm.sampleRate : 0);
            done(std::move(pcm));
        });
    }
    std::vector<qint64> cpuUs;
    std::vector<qint64> audioMs;

private:
    SpeechVoice& m_voice;
};

// Without a device: the samples are handed over at play(), and played at once.
class HandOverOutput : public PcmOutput {
public:
    bool available(QString&) override { return true; }
    void play(const QByteArray&, int, int, std::function<void()> finished) override {
        if (handedOver)
            handedOver();
        QTimer::singleShot(0, [finished = std::move(finished)] { finished(); });
    }
    void stop() override {}
    std::function<void()> handedOver;
};

// Passes the samples through to the output and tells how long they last.
class LengthOutput : public PcmOutput {
public:
    explicit LengthOutput(PcmOutput& output) : m_output(output) {}
    bool available(QString& error) override { return m_output.available(error); }
    void play(const QByteArray& samples, int rate, int volume, std::function<void()> finished) override {
        if (playing && rate > 0)
            playing(qint64(samples.size()) / 2 * 1000 / rate);
        m_output.play(samples, rate, volume, std::move(finished));
    }
    void stop() override { m_output.stop(); }
    std::function<void(qint64 ms)> playing;

private:
    PcmOutput& m_output;
};

qint64 percentile(std::vector<qint64> values, double p) {
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    return values[std::min(values.size() - 1, size_t(p * double(values.size())))];
}

void printFigure(const char* name, const std::vector<qint64>& valuesUs) {
    std::printf("%-44s %8.1f %8.1f %8.1f %8.1f\n", name, percentile(valuesUs, 0.0) / 1000.0,
                percentile(valuesUs, 0.5) / 1000.0, percentile(valuesUs, 0.99) / 1000.0,
                percentile(valuesUs, 1.0) / 1000.0);
}

int countLate(const std::vector<qint64>& valuesUs) {
    return int(std::count_if(valuesUs.begin(), valuesUs.end(), [](qint64 us) { return us > LateUs; }));
}

// A call-out that was said: its lap's instant and when its first samples went to the sink.
struct Said {
    qint64 stampUs = 0;
    qint64 handedUs = 0;
    qint64 audioMs = 0;
};

void waitFor(const std::function<bool()>& done, int limitMs) {
    QElapsedTimer limit;
    limit.start();
    while (!done() && limit.elapsed() < limitMs)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    bool pulse = false;
    int laps = 0;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--pulse") == 0)
            pulse = true;
        else
            laps = std::max(1, atoi(argv[i]));
    }
    if (laps == 0)
        laps = pulse ? 40 : 200;

    // The server first: the media framework reads its address when it starts.
    std::unique_ptr<PulseNullSink> server;
    std::unique_ptr<SinkRecording> recording;
    SteadyClock& clock = SteadyClock::instance();
    if (pulse) {
        server = std::make_unique<PulseNullSink>();
        QString why;
        if (!server->start(&why)) {
            std::fprintf(stderr, "%s\n", qPrintable(why));
            return 1;
        }
        server->useInThisProcess();
        recording = std::make_unique<SinkRecording>(*server, RecordRate, [&clock] { return clock.nowUs(); });
        if (!recording->start(&why)) {
            std::fprintf(stderr, "%s\n", qPrintable(why));
            return 1;
        }
    }

    TSettings settings;
    for (const SettingKey& key : settingsTable())
        key.setDefault(settings);
    settings.Hlas.Pouzit = true;
    settings.Hlas.Konec = true;
    DriverNames names;
    names.setName(3, QStringLiteral("Jiří Šťastný"));
    EspeakVoice espeak;
    MeasuredVoice voice(espeak);
    QString error;
    if (!voice.load(error)) {
        std::fprintf(stderr, "%s\n", qPrintable(error));
        return 1;
    }
    PcmPlayer player;
    HandOverOutput handOver;
    const bool device = player.available(error);
    if (pulse && !device) {
        std::fprintf(stderr, "the media framework does not see the server's sink: %s\n", qPrintable(error));
        return 1;
    }
    LengthOutput output(device ? static_cast<PcmOutput&>(player) : handOver);
    CalloutQueue queue(voice, output, clock, MessageTimerFactory::instance());
    Callouts callouts(settings, names, queue, clock);
    MultimediaSoundPlayer sounds;
    queue.setPriorityBusy([&sounds] { return sounds.playing(); });

    // The queue says its call-outs in order and drops only from the front: the stamps pushed and the
    // count dropped tell which one starts.
    std::deque<qint64> pushed;
    std::vector<Said> said;
    int droppedSeen = 0;
    queue.started = [&](const QString&) {
        for (; droppedSeen < queue.dropped(); ++droppedSeen)
            pushed.pop_front();
        said.push_back({pushed.front(), 0, 0});
        pushed.pop_front();
    };
    const auto firstSamples = [&] {
        if (!said.empty() && said.back().handedUs == 0)
            said.back().handedUs = clock.nowUs();
    };
    output.playing = [&](qint64 ms) { said.back().audioMs = ms; };
    player.firstSamplesTaken = firstSamples;
    handOver.handedOver = firstSamples;

    auto* rng = QRandomGenerator::global();
    for (int i = 0; i < laps; ++i) {
        const int kart = 1 + i % 4;
        const qint64 lapMs = 25000 + qint64(rng->bounded(50000));
        const qint64 closedUs = clock.nowUs();
        pushed.push_back(closedUs);
        callouts.lapClosed(kart, lapMs, closedUs);
        if (pulse) {
            // Four karts' passes: now and then two close together, mostly a few seconds apart.
            const qint64 gapUs =
                rng->bounded(5) == 0 ? 300'000 + rng->bounded(700'000) : 2'000'000 + rng->bounded(3'000'000);
            waitFor([&] { return clock.nowUs() - closedUs >= gapUs; }, 10000);
        } else {
            waitFor([&] { return said.size() + size_t(queue.dropped()) == size_t(i + 1) && queue.idle(); },
                    10000);
        }
    }
    waitFor([&] { return queue.idle() && queue.waiting() == 0; }, 20000);
    const size_t raceSaid = said.size();
    const int raceDropped = queue.dropped();

    // The race's own sounds come first: each plays with a lap's call-out pushed at the same instant.
    struct Priority {
        const char* name;
        qint64 playUs = 0;
        qint64 endedUs = 0; // when the player stopped saying it plays
        size_t said = 0;
    };
    std::vector<Priority> priorities{{"end-of-race sound (success.wav)"}, {"applause (applause.wav)"}};
    if (pulse) {
        const QString folder = QStringLiteral(TARVOLIN_SOURCE_DIR "/data/zvuky/");
        for (Priority& priority : priorities) {
            sounds.setFileName(folder + (priority.name[0] == 'e' ? QStringLiteral("success.wav")
                                                                 : QStringLiteral("prg/applause.wav")));
            sounds.open();
            priority.playUs = clock.nowUs();
            sounds.play();
            const bool playingAtOnce = sounds.playing();
            pushed.push_back(clock.nowUs());
            priority.said = said.size();
            callouts.lapClosed(2, 31240, pushed.back());
            waitFor(
                [&] {
                    if (priority.endedUs == 0 && !sounds.playing())
                        priority.endedUs = clock.nowUs();
                    return priority.endedUs != 0 && queue.idle() && queue.waiting() == 0;
                },
                20000);
            if (!playingAtOnce)
                std::printf("%s: the player did not say it plays right after play()\n", priority.name);
        }
        // The server has played what the sink took once the recording is past it in silence.
        const qint64 end = clock.nowUs();
        waitFor([&] { return clock.nowUs() - end > 500'000; }, 2000);
        recording->stop();
    }

    std::vector<qint64> handedUs;
    std::vector<qint64> heardUs;
    std::vector<qint64> heardAt(said.size(), -1);
    qint64 previousEnd = 0;
    for (size_t i = 0; i < said.size(); ++i) {
        if (said[i].handedUs == 0)
            continue;
        if (i < raceSaid)
            handedUs.push_back(said[i].handedUs - said[i].stampUs);
        if (!recording)
            continue;
        // The call-out's sound at the monitor: the first voiced sample after it was handed over (less
        // the recording's own uncertainty) and after the previous one has ended.
        const qint64 firstUs = recording->firstSampleUs();
        const qint64 handedIndex = (said[i].handedUs - 20'000 - firstUs) * RecordRate / 1'000'000;
        const qint64 onset = recording->onset(LoudLevel, std::max(handedIndex, previousEnd));
        if (onset < 0)
            continue;
        heardAt[i] = onset;
        previousEnd = onset + said[i].audioMs * RecordRate / 1000 - RecordRate / 50;
        if (i < raceSaid)
            heardUs.push_back(firstUs + onset * 1'000'000 / RecordRate - said[i].stampUs);
    }

    std::printf("voice: %d laps, output %s\n", laps,
                pulse    ? "private PulseAudio null sink (QAudioSink), recorded from its monitor"
                : device ? "sound device (QAudioSink)"
                         : "no device (hand-over)");
    std::printf("%-44s %8s %8s %8s %8s\n", "figure", "min", "median", "p99", "max");
    printFigure("lap closed -> first samples to sink [ms]", handedUs);
    if (pulse)
        printFigure("lap closed -> voice at the monitor [ms]", heardUs);
    printFigure("synthesis CPU per call-out [ms]", voice.cpuUs);
    std::vector<qint64> audioUs;
    for (qint64 ms : voice.audioMs)
        audioUs.push_back(ms * 1000);
    printFigure("audio per call-out [ms]", audioUs);
    std::printf("%-44s %8zu\n", "said", raceSaid);
    std::printf("%-44s %8d\n", "dropped (3 s rule)", raceDropped);
    std::printf("%-44s %8d\n", "handed to the sink later than 3 s", countLate(handedUs));
    if (pulse) {
        std::printf("%-44s %8d\n", "heard at the monitor later than 3 s", countLate(heardUs));
        std::printf("%-44s %8zu\n", "said but not found at the monitor", raceSaid - heardUs.size());
        const qint64 firstUs = recording->firstSampleUs();
        for (const Priority& priority : priorities) {
            if (priority.said >= said.size() || said[priority.said].handedUs == 0) {
                std::printf("%s: its call-out was dropped\n", priority.name);
                continue;
            }
            const Said& callout = said[priority.said];
            // The sound's last voiced sample before the call-out's first.
            const qint64 from = (priority.playUs - firstUs) * RecordRate / 1'000'000;
            const qint64 onset = heardAt[priority.said];
            qint64 soundEnd = -1;
            for (qint64 at = recording->onset(LoudLevel, from); at >= 0 && at < onset;
                 at = recording->onset(LoudLevel, at + 1))
                soundEnd = at;
            std::printf("%s: plays %.0f ms by the player; call-out handed over %.0f ms after it stopped, ",
                        priority.name, (priority.endedUs - priority.playUs) / 1000.0,
                        (callout.handedUs - priority.endedUs) / 1000.0);
            if (onset < 0 || soundEnd < 0)
                std::printf("but at the monitor the sound was not heard before the call-out\n");
            else
                std::printf("heard %.0f ms after the sound's last sound at the monitor\n",
                            (onset - soundEnd) * 1000.0 / RecordRate);
        }
    }
    return 0;
}
