#pragma once

#include <QtGlobal>

// What the race needs of the serial sensor port: it opens it at START (when serial sensors are
// chosen) and closes it at STOP. Opening throws UserError ("Unable to open com port (win error code: %d)").
class SerialSensorPort {
public:
    virtual ~SerialSensorPort() = default;
    virtual bool isOpen() const = 0;
    virtual void open() = 0;
    virtual void close() = 0;
    // Throws away whatever has been received and not yet handled. The race calls it at its start
    // instant: a burst from before the green light is no pass of this race.
    virtual void discardReceived() {}
    // Called from the sensor sampler's worker at each beat of a race: bytes that wait unread at
    // sampleUs arrived by then, even if the thread that reads them has not been woken yet.
    virtual void noticeWaiting(qint64 sampleUs) { Q_UNUSED(sampleUs); }
};
