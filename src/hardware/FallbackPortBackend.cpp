#include "hardware/FallbackPortBackend.h"

#include <cerrno>

FallbackPortBackend::FallbackPortBackend(std::unique_ptr<PortBackend> first,
                                         std::unique_ptr<PortBackend> second)
    : m_first(std::move(first)), m_second(std::move(second)) {}

int FallbackPortBackend::open() {
    close();
    const int firstError = m_first->open();
    if (firstError == 0) {
        m_active = m_first.get();
        return 0;
    }
    if (m_second->open() == 0) {
        m_active = m_second.get();
        return 0;
    }
    return firstError;
}

void FallbackPortBackend::close() {
    if (m_active)
        m_active->close();
    m_active = nullptr;
}

int FallbackPortBackend::read(quint16 address, quint8& value) {
    return m_active ? m_active->read(address, value) : EBADF;
}

int FallbackPortBackend::write(quint16 address, quint8 value) {
    return m_active ? m_active->write(address, value) : EBADF;
}

QString FallbackPortBackend::name() const {
    return m_active ? m_active->name() : m_first->name() + QStringLiteral(" / ") + m_second->name();
}
