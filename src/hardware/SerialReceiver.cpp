#include "hardware/SerialReceiver.h"

#include "base/MonotonicClock.h"
#include "platform/ThreadNice.h"
#include "platform/ThreadSlice.h"

#include <sys/ioctl.h>

#include <algorithm>
#include <limits>

namespace {

// The same weight as the sensor sampler's worker: both stamp lap instants.
constexpr int ReceiverNiceValue = -10;

} // namespace

namespace {} // namespace

SerialReceiver::SerialReceiver(MonotonicClock& clock) : m_clock(clock), m_port(this) {
    connect(&m_port, &QSerialPort::readyRead, this, &SerialReceiver::onReadyRead);
    connect(&m_port, &QSerialPort::errorOccurred, this, &SerialReceiver::onErrorOccurred);
}

void SerialReceiver::prepareThread() {
    ThreadNice::apply(ThreadNice::currentThreadId(), ReceiverNiceValue);
    ThreadSlice::requestForCurrentThread(ThreadSlice::ShortMicroseconds);
}

void SerialReceiver::watch(int handle) {
    std::lock_guard<std::mutex> lock(m_watchMutex);
    m_watched = handle;
    m_seen.clear();
}

void SerialReceiver::noticeWaiting(qint64 sampleUs) {
    std::lock_guard<std::mutex> lock(m_watchMutex);
    if (m_watched < 0 || m_seen.size() >= MaxSeen)
        return;
    int waiting = 0;
    if (::ioctl(m_watched, FIONREAD, &waiting) != 0)
        return;
    // Only bytes that no earlier beat saw are bounded by this one.
    if (waiting > (m_seen.empty() ? 0 : m_seen.back().bytes))
        m_seen.push_back({sampleUs, waiting});
}

void SerialReceiver::onReadyRead() {
    // First: the port has just taken the bytes from the device, and they came by now.
    const qint64 nowUs = m_clock.nowUs();
    std::vector<Seen> seen;
    {
        std::lock_guard<std::mutex> lock(m_watchMutex);
        seen.swap(m_seen);
    }
    const QByteArray bytes = m_port.readAll();
    m_bytesArrived.fetch_add(quint64(bytes.size()));
    // The bytes a beat saw waiting came by that beat; two karts' bursts read together keep apart
    // the instants the beats saw them at.
    qsizetype from = 0;
    for (const Seen& beat : seen) {
        const qsizetype to = std::min<qsizetype>(beat.bytes, bytes.size());
        if (to > from && beat.atUs < nowUs) {
            emit received(bytes.mid(from, to - from), beat.atUs, m_generation);
            from = to;
        }
    }
    if (from < bytes.size())
        emit received(bytes.mid(from), nowUs, m_generation);
}

void SerialReceiver::onErrorOccurred(QSerialPort::SerialPortError error) {
    // A device that went away (an unplugged adapter, a hung-up terminal) never delivers again, and
    // its handle keeps waking us. Closing it here stops that at once and lets it be opened afresh
    // when it is back.
    const bool gone = error == QSerialPort::ResourceError || error == QSerialPort::ReadError;
    if (!gone || !m_port.isOpen())
        return;
    const quint64 openGeneration = m_generation;
    watch(-1);
    m_port.close();
    m_port.clearError();
    nextGeneration();
    emit lost(openGeneration);
}
