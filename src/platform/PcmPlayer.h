#pragma once

#include "platform/PcmOutput.h"

#include <QObject>

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
    void finish();

    std::unique_ptr<QAudioSink> m_sink;
    std::unique_ptr<QIODevice> m_source;
    std::function<void()> m_finished;
};
