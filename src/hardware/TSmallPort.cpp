#include "hardware/TSmallPort.h"

#include "hardware/PortBackend.h"

TSmallPort::TSmallPort(std::unique_ptr<PortBackend> backend, QObject* parent)
    : QObject(parent), m_backend(std::move(backend)) {}

TSmallPort::~TSmallPort() {
    setOpened(false);
}

template <typename Operation> int TSmallPort::access(Operation operation) {
    std::lock_guard<std::mutex> lock(m_backendMutex);
    return operation(*m_backend);
}

void TSmallPort::setOpened(bool open) {
    if (open == m_opened)
        return;
    if (open) {
        m_lastError = access([](PortBackend& backend) { return backend.open(); });
        m_lastOk = m_lastError == 0;
        if (!m_lastOk)
            return;
        m_opened = true;
    } else {
        // Closed for the samplers first, then for the backend: a sample in between reads nothing.
        m_opened = false;
        access([](PortBackend& backend) {
            backend.close();
            return 0;
        });
    }
    emit openedChanged(open);
}

quint8 TSmallPort::ReadPort(quint16 address) {
    if (!m_opened) {
        m_lastOk = false;
        m_lastError = ErrorInvalidHandle;
        return 0;
    }
    quint8 value = 0;
    m_lastError = access([&](PortBackend& backend) { return backend.read(address, value); });
    m_lastOk = m_lastError == 0;
    return m_lastOk ? value : 0;
}

void TSmallPort::WritePort(quint16 address, quint8 value) {
    if (!m_opened) {
        m_lastOk = false;
        m_lastError = ErrorInvalidHandle;
        return;
    }
    m_lastError = access([&](PortBackend& backend) { return backend.write(address, value); });
    m_lastOk = m_lastError == 0;
}

quint8 TSmallPort::sampleStatus(qint64& nowUs) {
    const qint64 last = m_sampledAtUs;
    if (nowUs >= last && nowUs - last < ShareUs) {
        nowUs = last;
        return m_sampledStatus;
    }
    quint8 value = 0;
    const int error = access([&](PortBackend& backend) {
        // Under the lock, so that a close cannot come between the check and the read.
        return m_opened ? backend.read(quint16(m_portBase + 1), value) : ErrorInvalidHandle;
    });
    if (error != 0)
        value = 0;
    // The value before its instant: a sampler that sees the new instant sees this value or a newer one.
    m_sampledStatus = value;
    m_sampledAtUs = nowUs;
    return value;
}

QString TSmallPort::backendName() const {
    return m_backend->name();
}
