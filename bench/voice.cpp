// The spoken call-outs' latency: from a lap closing (the race's hook) to the first samples handed to
// the sound device's sink, and the processor time espeak-ng takes per call-out. Without a sound device
// the samples count as handed over when the queue gives them to the output.
#include "base/MessageTimerFactory.h"
#include "base/MonotonicClock.h"
#include "config/SettingsTable.h"
#include "config/TSettings.h"
#include "platform/PcmPlayer.h"
#include "timing/DriverNames.h"
#include "voice/CalloutQueue.h"
#include "voice/Callouts.h"
#include "voice/EspeakVoice.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QRandomGenerator>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

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

qint64 percentile(std::vector<qint64> values, double p) {
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    return values[std::min(values.size() - 1, size_t(p * double(values.size())))];
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const int laps = argc > 1 ? std::max(1, atoi(argv[1])) : 200;

    TSettings settings;
    for (const SettingKey& key : settingsTable())
        key.setDefault(settings);
    settings.Hlas.Pouzit = true;
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
    PcmOutput& output = device ? static_cast<PcmOutput&>(player) : handOver;
    SteadyClock& clock = SteadyClock::instance();
    CalloutQueue queue(voice, output, clock, MessageTimerFactory::instance());
    Callouts callouts(settings, names, queue, clock);

    std::vector<qint64> latencyUs;
    qint64 closedUs = 0;
    bool waiting = false;
    const auto firstSamples = [&] {
        if (waiting) {
            latencyUs.push_back(clock.nowUs() - closedUs);
            waiting = false;
        }
    };
    player.firstSamplesTaken = firstSamples;
    handOver.handedOver = firstSamples;

    auto* rng = QRandomGenerator::global();
    for (int i = 0; i < laps; ++i) {
        const int kart = 1 + i % 4;
        const qint64 lapMs = 25000 + qint64(rng->bounded(50000));
        closedUs = clock.nowUs();
        waiting = true;
        callouts.lapClosed(kart, lapMs, closedUs);
        QElapsedTimer limit;
        limit.start();
        while ((waiting || !queue.idle()) && limit.elapsed() < 10000)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    }

    std::printf("voice: %d call-outs, output %s\n", laps,
                device ? "sound device (QAudioSink)" : "no device (hand-over)");
    std::printf("%-40s %10s %10s\n", "figure", "median", "p99");
    std::printf("%-40s %10.1f %10.1f\n", "lap closed -> first samples [ms]",
                percentile(latencyUs, 0.5) / 1000.0, percentile(latencyUs, 0.99) / 1000.0);
    std::printf("%-40s %10.1f %10.1f\n", "synthesis CPU per call-out [ms]",
                percentile(voice.cpuUs, 0.5) / 1000.0, percentile(voice.cpuUs, 0.99) / 1000.0);
    std::printf("%-40s %10.1f %10.1f\n", "audio per call-out [ms]", double(percentile(voice.audioMs, 0.5)),
                double(percentile(voice.audioMs, 0.99)));
    std::printf("%-40s %10d\n", "dropped", queue.dropped());
    return 0;
}
