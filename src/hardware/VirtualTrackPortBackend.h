#pragma once

#include "hardware/PortBackend.h"

class VirtualTrack;

// The port of the virtual track. It answers at any port base: an address whose low two bits are 0 is
// the data register, 1 the status register, 2 the control register (as on a real port, whose base is
// a multiple of 4). Opening starts the track's time, unless the track waits to be started.
class VirtualTrackPortBackend : public PortBackend {
public:
    explicit VirtualTrackPortBackend(VirtualTrack& track) : m_track(track) {}

    int open() override;
    void close() override {}
    int read(quint16 address, quint8& value) override;
    int write(quint16 address, quint8 value) override;
    QString name() const override { return QStringLiteral("virtuální trať"); }

private:
    VirtualTrack& m_track;
};
