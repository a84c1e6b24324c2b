#pragma once

#include <QByteArray>
#include <QString>

#include <functional>

// A short stretch of 16-bit mono audio played at once on the default sound device (a spoken call-out),
// beside whatever the sound player plays.
class PcmOutput {
public:
    virtual ~PcmOutput() = default;

    // Whether a sound device is there; false with a Czech reason.
    virtual bool available(QString& error) = 0;
    // Stops what plays and starts samples; finished runs on the main thread when they have been played
    // (or could not be). volume is 0..100 %.
    virtual void play(const QByteArray& samples, int sampleRate, int volume,
                      std::function<void()> finished) = 0;
    virtual void stop() = 0;
};
