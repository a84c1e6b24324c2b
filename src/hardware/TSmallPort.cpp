#include "hardware/TSmallPort.h"

#include "hardware/PortBackend.h"

TSmallPort::TSmallPort(std::unique_ptr<PortBackend> backend, QObject* parent)
    : QObject(parent), m_backend(std::move(backend)) {}

TSmallPort::~TSmallPort() {
    setOpened(false);
}

void TSmallPort::setOpened(bool open) {
    if (open == m_opened)
        return;
    if (open) {
        m_lastError = m_backend->open();
        m_lastOk = m_lastError == 0;
        if (!m_lastOk)
            return;
    } else {
        m_backend->close();
    }
    m_opened = open;
    emit openedChanged(m_opened);
}

quint8 TSmallPort::ReadPort(quint16 address) {
    if (!m_opened) {
        m_lastOk = false;
        m_lastError = ErrorInvalidHandle;
        return 0;
    }
    quint8 value = 0;
    m_lastError = m_backend->read(address, value);
    m_lastOk = m_lastError == 0;
    return m_lastOk ? value : 0;
}

void TSmallPort::WritePort(quint16 address, quint8 value) {
    if (!m_opened) {
        m_lastOk = false;
        m_lastError = ErrorInvalidHandle;
        return;
    }
    m_lastError = m_backend->write(address, value);
    m_lastOk = m_lastError == 0;
}

QString TSmallPort::backendName() const {
    return m_backend->name();
}
