#pragma once

#include "hardware/PortBackend.h"

#include <memory>

// Tries one backend and, when it cannot open, another; the one that opened serves the accesses.
class FallbackPortBackend : public PortBackend {
public:
    FallbackPortBackend(std::unique_ptr<PortBackend> first, std::unique_ptr<PortBackend> second);

    // When both fail, the first backend's error: it is the one the installation should have.
    int open() override;
    void close() override;
    int read(quint16 address, quint8& value) override;
    int write(quint16 address, quint8 value) override;
    // The backend in use, or both names while closed.
    QString name() const override;

private:
    std::unique_ptr<PortBackend> m_first;
    std::unique_ptr<PortBackend> m_second;
    PortBackend* m_active = nullptr;
};
