#pragma once

#include "platform/PcmOutput.h"

#include <QDeadlineTimer>
#include <QObject>
#include <QTimer>

#include <memory>

class QAudioSink;
class QIODevice;

// The call-outs' output on the platform's media framework: the samples are pulled by a QAudioSink
// made for their rate, on the main thread's event loop.
class PcmPlayer : public QObject, public PcmOutput {
    Q_OBJECT

public:
    explicit PcmPlayer(QObject* parent = nullptr);
    ~PcmPlayer() override;

    bool available(QString& error) override;
    void play(const QByteArray& samples, int sampleRate, int volume, std::function<void()> finished) override;
    void stop() override;

    // Called once per play, when the sink takes its first samples (for the benchmark).
    std::function<void()> firstSamplesTaken;

private:
    void sinkStateChanged();
    // Whether the sound server has played every sample, or has stopped playing them.
    void checkDrained();
    void finish();

    std::unique_ptr<QAudioSink> m_sink;
    std::unique_ptr<QIODevice> m_source;
    std::function<void()> m_finished;
    qint64 m_durationUs = 0;
    // After the sink has taken the last samples, the server still plays what it holds of them.
    QTimer m_drainPoll;
    QDeadlineTimer m_drainDeadline;
};
