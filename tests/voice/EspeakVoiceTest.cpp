#include "voice/EspeakVoice.h"

#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

#include <cstdlib>

// The real Czech voice: a phrase becomes at least half a second of sound that is not silence, and the
// samples arrive on the main thread after the call has returned.
TEST(EspeakVoice, SynthesisesACzechPhraseOffTheMainThread) {
    EspeakVoice voice;
    QString error;
    ASSERT_TRUE(voice.load(error)) << error.toStdString();

    std::optional<SpeechPcm> result;
    Qt::HANDLE doneThread = nullptr;
    voice.synthesize(QStringLiteral("Dvojka, třicet jedna celá dvacet čtyři"), 170, [&](SpeechPcm pcm) {
        doneThread = QThread::currentThreadId();
        result = std::move(pcm);
    });
    EXPECT_FALSE(result.has_value());
    ASSERT_TRUE(QTest::qWaitFor([&] { return result.has_value(); }, 30000));
    EXPECT_EQ(doneThread, QThread::currentThreadId());

    ASSERT_GT(result->sampleRate, 0);
    const auto* samples = reinterpret_cast<const qint16*>(result->samples.constData());
    const qsizetype count = result->samples.size() / qsizetype(sizeof(qint16));
    // Voiced: above a whisper's level in 10 ms windows.
    const qsizetype window = result->sampleRate / 100;
    qsizetype loudWindows = 0;
    for (qsizetype start = 0; start + window <= count; start += window) {
        int peak = 0;
        for (qsizetype i = start; i < start + window; ++i)
            peak = std::max(peak, std::abs(int(samples[i])));
        if (peak > 500)
            ++loudWindows;
    }
    EXPECT_GE(loudWindows * window, result->sampleRate / 2);
}
