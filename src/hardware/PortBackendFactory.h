#pragma once

#include "hardware/PortOptions.h"

#include <memory>

class MonotonicClock;
class PortBackend;
class VirtualTrack;
struct TSettings;

// Chooses how the parallel port is reached: the virtual track when simulating, else the kernel's
// ppdev driver, falling back to direct port I/O when ppdev cannot open.
class PortBackendFactory {
public:
    // The virtual track for the options, or null when the real port is used. It replays the
    // scenario file, or drives random karts, from when it is started (the station starts it once it
    // is ready). Throws UserError for an unreadable or bad scenario.
    static std::unique_ptr<VirtualTrack> createTrack(const PortOptions& options, const TSettings& settings,
                                                     MonotonicClock& clock);

    // The backend for TSmallPort; when simulating it serves the given track, which must outlive it.
    static std::unique_ptr<PortBackend> createBackend(const PortOptions& options, VirtualTrack* track);
};
