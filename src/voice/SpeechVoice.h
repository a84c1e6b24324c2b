#pragma once

#include <QByteArray>
#include <QString>

#include <functional>

// What a voice made of a text: 16-bit mono samples at their rate, and the processor time it took.
struct SpeechPcm {
    int sampleRate = 0;
    QByteArray samples;
    qint64 cpuUs = 0;
};

// A speech synthesiser that works off the main thread, so that a lap is never held up by its call-out.
class SpeechVoice {
public:
    using Done = std::function<void(SpeechPcm pcm)>;

    virtual ~SpeechVoice() = default;

    // Loads the voice (once; later calls give the first answer). False with a Czech reason.
    virtual bool load(QString& error) = 0;
    // Synthesises the text at words a minute; done runs later on the main thread, never within this
    // call, with no samples when the voice failed.
    virtual void synthesize(const QString& text, int wordsPerMinute, Done done) = 0;
};
