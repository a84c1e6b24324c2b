#pragma once

#include <QObject>

#include <atomic>
#include <limits>
#include <memory>
#include <mutex>

class PortBackend;

// Byte access to the parallel port's data register (base) and status register (base + 1), and the
// one port base every user shares. Reads of a closed port give 0. The samplers read the status
// register from their worker with sampleStatus(); every access to the backend is serialised, so no
// backend needs to be safe for threads itself.
class TSmallPort : public QObject {
    Q_OBJECT
    Q_PROPERTY(bool Opened READ Opened WRITE setOpened NOTIFY openedChanged)

public:
    // Error recorded for an access while the port is closed.
    static constexpr int ErrorInvalidHandle = 6;

    explicit TSmallPort(std::unique_ptr<PortBackend> backend, QObject* parent = nullptr);
    ~TSmallPort() override;

    bool Opened() const { return m_opened; }
    void setOpened(bool open);

    quint8 ReadPort(quint16 address);
    void WritePort(quint16 address, quint8 value);
    // The status register (base + 1) for a sampler, from any thread; 0 when the port is closed or the
    // read fails. The sensors probed at one beat share one read: a read taken less than ShareUs before
    // nowUs (a clock instant in microseconds) serves again, and nowUs becomes the instant of the read
    // that is returned. It leaves lastOk() and lastError() to the main thread's own accesses.
    static constexpr qint64 ShareUs = 500;
    quint8 sampleStatus(qint64& nowUs);

    bool lastOk() const { return m_lastOk; }
    int lastError() const { return m_lastError; }

    // The shared port base: 0 until first chosen.
    quint16 portBase() const { return m_portBase; }
    void setPortBase(quint16 base) { m_portBase = base; }

    PortBackend& backend() const { return *m_backend; }
    // How the port is reached (for the operator, e.g. "ppdev" or "virtuální trať").
    QString backendName() const;

signals:
    void openedChanged(bool opened);

private:
    // Runs operation(backend) under the backend's lock.
    template <typename Operation> int access(Operation operation);

    std::unique_ptr<PortBackend> m_backend;
    std::mutex m_backendMutex;
    std::atomic<bool> m_opened{false};
    bool m_lastOk = true;
    int m_lastError = 0;
    std::atomic<quint16> m_portBase{0};
    std::atomic<quint8> m_sampledStatus{0};
    std::atomic<qint64> m_sampledAtUs{std::numeric_limits<qint64>::min() / 2};
};
