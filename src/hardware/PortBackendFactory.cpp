#include "hardware/PortBackendFactory.h"

#include "hardware/DirectIoPortBackend.h"
#include "hardware/FallbackPortBackend.h"
#include "hardware/PpdevPortBackend.h"
#include "hardware/ScenarioReader.h"
#include "hardware/VirtualTrack.h"
#include "hardware/VirtualTrackPortBackend.h"

#include <QRandomGenerator>

std::unique_ptr<VirtualTrack> PortBackendFactory::createTrack(const PortOptions& options,
                                                              const TSettings& settings,
                                                              MonotonicClock& clock) {
    if (!options.simulate)
        return nullptr;
    auto track = std::make_unique<VirtualTrack>(settings, clock);
    // The program starts it once the station is ready.
    track->setStartsWhenLookedAt(false);
    if (!options.scenarioFile.isEmpty()) {
        track->replay(ScenarioReader::readFile(options.scenarioFile));
    } else {
        const quint32 seed = options.seed != 0 ? options.seed : QRandomGenerator::global()->generate() | 1u;
        track->driveRandomKarts(seed);
    }
    return track;
}

std::unique_ptr<PortBackend> PortBackendFactory::createBackend(const PortOptions& options,
                                                               VirtualTrack* track) {
    if (options.simulate && track)
        return std::make_unique<VirtualTrackPortBackend>(*track);
    return std::make_unique<FallbackPortBackend>(std::make_unique<PpdevPortBackend>(),
                                                 std::make_unique<DirectIoPortBackend>());
}
