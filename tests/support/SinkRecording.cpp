#include "SinkRecording.h"

#include "ProcessEnd.h"

#include "PulseNullSink.h"

#include <QDeadlineTimer>

#include <algorithm>
#include <cstdlib>
#include <limits>

SinkRecording::SinkRecording(const PulseNullSink& sink, int sampleRate, std::function<qint64()> nowUs)
    : m_sink(sink), m_sampleRate(sampleRate), m_nowUs(std::move(nowUs)) {
    QObject::connect(&m_process, &QProcess::readyReadStandardOutput, [this] { read(); });
}

SinkRecording::~SinkRecording() {
    stop();
}

bool SinkRecording::start(QString* why) {
    // While no client asks for short blocks, the null sink renders two seconds ahead, and a recording
    // joining then waits for their end. Suspended until the recording is there, it starts afresh.
    const QString sink = QLatin1String(PulseNullSink::SinkName);
    if (!m_sink.pactl({QStringLiteral("suspend-sink"), sink, QStringLiteral("1")})) {
        *why = QStringLiteral("the sink cannot be suspended");
        return false;
    }
    m_process.setProcessEnvironment(m_sink.clientEnvironment());
    // Short fragments: each arrival then waits little, and the sink renders in small blocks.
    m_process.start(QStringLiteral("parec"),
                    {QStringLiteral("--device=") + m_sink.monitorName(), QStringLiteral("--raw"),
                     QStringLiteral("--format=s16le"), QStringLiteral("--channels=1"),
                     QStringLiteral("--rate=%1").arg(m_sampleRate), QStringLiteral("--latency-msec=10")});
    const QDeadlineTimer deadline(20000);
    QByteArray outputs;
    while (outputs.trimmed().isEmpty() && !deadline.hasExpired() &&
           m_process.state() != QProcess::NotRunning) {
        if (!m_sink.pactl({QStringLiteral("list"), QStringLiteral("short"), QStringLiteral("source-outputs")},
                          &outputs))
            break;
    }
    m_sink.pactl({QStringLiteral("suspend-sink"), sink, QStringLiteral("0")});
    while (m_samples.isEmpty() && !deadline.hasExpired() && m_process.state() != QProcess::NotRunning) {
        if (m_process.waitForReadyRead(100))
            read();
    }
    if (m_samples.isEmpty()) {
        *why = QStringLiteral("parec records nothing: ") +
               QString::fromLocal8Bit(m_process.readAllStandardError());
        return false;
    }
    return true;
}

void SinkRecording::stop() {
    endProcess(m_process, 10000);
    read();
}

void SinkRecording::read() {
    m_samples.append(m_process.readAllStandardOutput());
    m_arrivals.push_back({m_nowUs(), m_samples.size() / 2});
}

qint64 SinkRecording::firstSampleUs() const {
    qint64 best = std::numeric_limits<qint64>::max();
    for (const Arrival& arrival : m_arrivals)
        best = std::min(best, arrival.nowUs - arrival.samplesSoFar * 1'000'000 / m_sampleRate);
    return best;
}

qint64 SinkRecording::onset(int level, qint64 from) const {
    const auto* samples = reinterpret_cast<const qint16*>(m_samples.constData());
    const qint64 count = m_samples.size() / 2;
    const qint64 window = m_sampleRate / 100;
    for (qint64 start = std::max<qint64>(0, from); start + window <= count; start += window) {
        for (qint64 i = start; i < start + window; ++i) {
            if (std::abs(int(samples[i])) > level)
                return i;
        }
    }
    return -1;
}

int SinkRecording::loudWindows(int level, qint64 from) const {
    const auto* samples = reinterpret_cast<const qint16*>(m_samples.constData());
    const qint64 count = m_samples.size() / 2;
    const qint64 window = m_sampleRate / 100;
    int loud = 0;
    for (qint64 start = std::max<qint64>(0, from); start + window <= count; start += window) {
        int peak = 0;
        for (qint64 i = start; i < start + window; ++i)
            peak = std::max(peak, std::abs(int(samples[i])));
        if (peak > level)
            ++loud;
    }
    return loud;
}
