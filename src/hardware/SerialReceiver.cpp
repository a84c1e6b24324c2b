#include "hardware/SerialReceiver.h"

#include "base/MonotonicClock.h"
#include "platform/ThreadNice.h"
#include "platform/ThreadSlice.h"

namespace {

// The same weight as the sensor sampler's worker: both stamp lap instants.
constexpr int ReceiverNiceValue = -10;

} // namespace

SerialReceiver::SerialReceiver(MonotonicClock& clock) : m_clock(clock), m_port(this) {
    connect(&m_port, &QSerialPort::readyRead, this, &SerialReceiver::onReadyRead);
    connect(&m_port, &QSerialPort::errorOccurred, this, &SerialReceiver::onErrorOccurred);
}

void SerialReceiver::prepareThread() {
    ThreadNice::apply(ThreadNice::currentThreadId(), ReceiverNiceValue);
    ThreadSlice::requestForCurrentThread(ThreadSlice::ShortMicroseconds);
}

void SerialReceiver::onReadyRead() {
    // First: the port has just taken the bytes from the device, and this is when they came.
    const qint64 arrivalUs = m_clock.nowUs();
    const QByteArray bytes = m_port.readAll();
    m_bytesArrived.fetch_add(quint64(bytes.size()));
    if (!bytes.isEmpty())
        emit received(bytes, arrivalUs, m_generation);
}

void SerialReceiver::onErrorOccurred(QSerialPort::SerialPortError error) {
    // A device that went away (an unplugged adapter, a hung-up terminal) never delivers again, and
    // its handle keeps waking us. Closing it here stops that at once and lets it be opened afresh
    // when it is back.
    const bool gone = error == QSerialPort::ResourceError || error == QSerialPort::ReadError;
    if (!gone || !m_port.isOpen())
        return;
    const quint64 openGeneration = m_generation;
    m_port.close();
    m_port.clearError();
    nextGeneration();
    emit lost(openGeneration);
}
