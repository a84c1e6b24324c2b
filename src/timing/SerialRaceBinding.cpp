#include "timing/SerialRaceBinding.h"

#include "hardware/SerialSensorInput.h"
#include "timing/TRace.h"

void bindSerialInputToRace(SerialSensorInput& input, TRace& race) {
    for (int kart = 1; kart <= SerialSensorInput::KartCount; ++kart) {
        TLapChannel* channel = &race.channel(kart);
        input.setHitTarget(kart, {[channel] { return channel->deadTimeRunning(); },
                                  [channel](qint64 arrivalUs) { channel->PendingHitUs = arrivalUs; }});
    }
}
