#pragma once

#include <QByteArray>
#include <QObject>
#include <QSerialPort>

#include <atomic>
#include <mutex>
#include <vector>

class MonotonicClock;

// The serial device on a thread of its own. A burst's lap ends when its last byte arrived, so the
// bytes are read and stamped here, where the device wakes us, and not when the main thread next gets
// round to them: a repaint or a lap being closed there no longer moves a serial lap's instant.
//
// Everything done to the device (open, close, line settings, handshake lines) runs on this thread;
// TComPort calls in and waits. Each open, close and discard starts a new generation, so bytes that
// were already on their way to the main thread can be told from those received after it.
class SerialReceiver : public QObject {
    Q_OBJECT

public:
    explicit SerialReceiver(MonotonicClock& clock);

    // On the receiver's thread only.
    QSerialPort& port() { return m_port; }
    quint64 nextGeneration() { return ++m_generation; }
    // Every byte read from the device so far; safe from any thread.
    quint64 bytesArrived() const { return m_bytesArrived.load(); }
    // From any thread: if bytes wait unread at sampleUs, the next ones read arrived by then. A thread
    // on an idle processor may be woken milliseconds after its bytes came; a sampler that looks at
    // every beat bounds that to one beat.
    void noticeWaiting(qint64 sampleUs);
    // On the receiver's thread, after an open and before a close: the device the notices look at.
    void watch(int handle);
    // Raises the thread's scheduling weight: it runs for microseconds at a time, and a wait for the
    // processor is added to the lap.
    static void prepareThread();

signals:
    // Bytes read that arrived by arrivalUs: the instant the thread was woken for them, or the beat
    // that saw them waiting. One read may be handed over in several parts.
    void received(const QByteArray& bytes, qint64 arrivalUs, quint64 generation);
    // The device, open during generation, went away; the receiver has closed it.
    void lost(quint64 generation);

private:
    void onReadyRead();
    void onErrorOccurred(QSerialPort::SerialPortError error);

    MonotonicClock& m_clock;
    QSerialPort m_port;
    quint64 m_generation = 0;
    std::atomic<quint64> m_bytesArrived{0};
    // What the beats since the last read found waiting: the first bytes of the next read came by
    // atUs.
    struct Seen {
        qint64 atUs;
        int bytes;
    };
    // A read comes within milliseconds; this is only a bound should it not.
    static constexpr size_t MaxSeen = 16;

    // Guards the two below, which the sampler's notices share with the receiver's thread.
    std::mutex m_watchMutex;
    int m_watched = -1;
    std::vector<Seen> m_seen;
};
