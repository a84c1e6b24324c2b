#pragma once

#include <QByteArray>
#include <QProcess>
#include <QString>

#include <functional>
#include <vector>

class PulseNullSink;

// What a sink plays, recorded from its monitor by Debian's parec as 16-bit mono samples. The null
// sink's monitor gives silence when nothing plays, so the recording runs on without gaps from its
// first sample: each sample's instant is the first one's plus its index over the rate. Each arrival
// of samples is kept with the clock's reading, from which that first instant is estimated.
class SinkRecording {
public:
    struct Arrival {
        qint64 nowUs;
        qint64 samplesSoFar;
    };

    SinkRecording(const PulseNullSink& sink, int sampleRate, std::function<qint64()> nowUs);
    ~SinkRecording();
    SinkRecording(const SinkRecording&) = delete;
    SinkRecording& operator=(const SinkRecording&) = delete;

    // Starts parec and waits until its first samples arrive; false with the reason otherwise.
    bool start(QString* why);
    // Ends parec and keeps what it had recorded.
    void stop();

    const QByteArray& samples() const { return m_samples; }
    int sampleRate() const { return m_sampleRate; }
    // The clock's instant of the first sample: the arrival that waited least on its way here tells it
    // best (a sample cannot arrive before it was recorded).
    qint64 firstSampleUs() const;
    // Of the 10 ms windows from sample `from` on, how many have a peak above the level.
    int loudWindows(int level, qint64 from = 0) const;
    // The first sample from `from` on above the level; -1 when none.
    qint64 onset(int level, qint64 from) const;

private:
    void read();

    const PulseNullSink& m_sink;
    int m_sampleRate;
    std::function<qint64()> m_nowUs;
    QProcess m_process;
    QByteArray m_samples;
    std::vector<Arrival> m_arrivals;
};
