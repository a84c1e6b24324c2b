#include "platform/PcmPlayer.h"

#include <QAudioDevice>
#include <QAudioFormat>
#include <QAudioSink>
#include <QBuffer>
#include <QMediaDevices>

namespace {

// The samples as the sink pulls them; the first pull is when the sound leaves the program.
class PcmSource : public QBuffer {
public:
    PcmSource(const QByteArray& samples, std::function<void()> firstRead)
        : m_firstRead(std::move(firstRead)) {
        setData(samples);
    }

protected:
    qint64 readData(char* data, qint64 maxSize) override {
        if (m_firstRead)
            std::exchange(m_firstRead, {})();
        return QBuffer::readData(data, maxSize);
    }

private:
    std::function<void()> m_firstRead;
};

} // namespace

PcmPlayer::PcmPlayer(QObject* parent) : QObject(parent) {
    m_drainPoll.setInterval(10);
    connect(&m_drainPoll, &QTimer::timeout, this, &PcmPlayer::checkDrained);
}

PcmPlayer::~PcmPlayer() {
    m_finished = {};
    stop();
}

bool PcmPlayer::available(QString& error) {
    if (QMediaDevices::defaultAudioOutput().isNull()) {
        error = QStringLiteral("Počítač nemá zvukové zařízení, hlášení časů nebude slyšet.");
        return false;
    }
    return true;
}

void PcmPlayer::play(const QByteArray& samples, int sampleRate, int volume, std::function<void()> finished) {
    stop();
    m_finished = std::move(finished);
    m_durationUs = sampleRate > 0 ? qint64(samples.size() / 2) * 1'000'000 / sampleRate : 0;
    const QAudioDevice device = QMediaDevices::defaultAudioOutput();
    QAudioFormat format;
    format.setSampleRate(sampleRate);
    format.setChannelCount(1);
    format.setSampleFormat(QAudioFormat::Int16);
    if (device.isNull() || !device.isFormatSupported(format)) {
        finish();
        return;
    }
    m_sink = std::make_unique<QAudioSink>(device, format);
    m_sink->setVolume(qBound(0, volume, 100) / 100.0);
    connect(m_sink.get(), &QAudioSink::stateChanged, this, &PcmPlayer::sinkStateChanged);
    m_source = std::make_unique<PcmSource>(samples, firstSamplesTaken);
    m_source->open(QIODevice::ReadOnly);
    m_sink->start(m_source.get());
    if (m_sink->state() == QAudio::StoppedState)
        finish();
}

void PcmPlayer::stop() {
    m_drainPoll.stop();
    if (m_sink) {
        m_sink->disconnect(this);
        m_sink->stop();
    }
    // Released later: stop() may be reached from the sink's own signal.
    if (m_sink)
        m_sink.release()->deleteLater();
    m_source.reset();
}

void PcmPlayer::sinkStateChanged() {
    if (!m_sink)
        return;
    // Stopped: the device went away.
    if (m_sink->state() == QAudio::StoppedState) {
        finish();
    } else if (m_sink->state() == QAudio::IdleState && !m_drainPoll.isActive()) {
        // Idle: the sink has taken every sample, but the server holds the last ones (the end of the
        // last word) still to be played; stopping the sink now would drop them. A server that stops
        // playing them is waited for no longer than they last.
        m_drainDeadline.setRemainingTime((m_durationUs - m_sink->processedUSecs()) / 1000 + 500);
        m_drainPoll.start();
        checkDrained();
    }
}

void PcmPlayer::checkDrained() {
    if (!m_sink || m_sink->processedUSecs() >= m_durationUs || m_drainDeadline.hasExpired())
        finish();
}

void PcmPlayer::finish() {
    stop();
    if (auto finished = std::exchange(m_finished, {}))
        finished();
}
