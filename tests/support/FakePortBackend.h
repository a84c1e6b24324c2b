#pragma once

#include "hardware/PortBackend.h"

#include <map>
#include <vector>

class MonotonicClock;

// A parallel port on virtual time. The status register (base + 1) reads as the level set for the
// current instant, ORed with the pulses covering it; the data register (base) reads back what was
// last written. Every data write is recorded with its instant.
class FakePortBackend : public PortBackend {
public:
    struct Write {
        qint64 atMs;
        quint8 value;
    };

    explicit FakePortBackend(const MonotonicClock& clock, quint16 base = 888);

    int open() override;
    void close() override { m_open = false; }
    int read(quint16 address, quint8& value) override;
    int write(quint16 address, quint8 value) override;
    QString name() const override;

    quint16 base() const { return m_base; }
    bool isOpen() const { return m_open; }
    // The errno that open() returns; 0 opens.
    void setOpenError(int error) { m_openError = error; }

    // The status level from an instant on (until a later level).
    void setStatusAt(qint64 fromMs, quint8 status);
    void setStatus(quint8 status);
    // Bits held high from fromMs up to (not including) toMs: a kart passing its sensor.
    void addPulse(qint64 fromMs, qint64 toMs, quint8 mask);
    quint8 statusAt(qint64 ms) const;

    quint8 data() const { return m_data; }
    void setData(quint8 value) { m_data = value; }
    const std::vector<Write>& writes() const { return m_writes; }
    void clearWrites() { m_writes.clear(); }
    int statusReads() const { return m_statusReads; }

private:
    struct Pulse {
        qint64 from;
        qint64 to;
        quint8 mask;
    };

    const MonotonicClock& m_clock;
    quint16 m_base;
    bool m_open = false;
    int m_openError = 0;
    std::map<qint64, quint8> m_levels;
    std::vector<Pulse> m_pulses;
    quint8 m_data = 0;
    std::vector<Write> m_writes;
    int m_statusReads = 0;
};
