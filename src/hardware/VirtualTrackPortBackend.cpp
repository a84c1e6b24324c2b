#include "hardware/VirtualTrackPortBackend.h"

#include "hardware/VirtualTrack.h"

#include <cerrno>

namespace {
enum Register { Data = 0, Status = 1, Control = 2 };
}

int VirtualTrackPortBackend::open() {
    if (m_track.startsWhenLookedAt())
        m_track.start();
    return 0;
}

int VirtualTrackPortBackend::read(quint16 address, quint8& value) {
    switch (address & 3) {
    case Data:
        value = m_track.dataRegister();
        return 0;
    case Status:
        value = m_track.statusRegister();
        return 0;
    case Control:
        value = m_track.controlRegister();
        return 0;
    default:
        return ENXIO;
    }
}

int VirtualTrackPortBackend::write(quint16 address, quint8 value) {
    switch (address & 3) {
    case Data:
        m_track.writeData(value);
        return 0;
    case Status:
        return 0; // read-only, as on the hardware
    case Control:
        m_track.writeControl(value);
        return 0;
    default:
        return ENXIO;
    }
}
