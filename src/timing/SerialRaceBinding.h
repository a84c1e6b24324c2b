#pragma once

class SerialSensorInput;
class TRace;

// Hands the serial input the race's four lap channels: a burst is a hit of a kart only while that
// kart's dead time is not running, and it reaches the channel as its pending hit, stamped with its arrival.
void bindSerialInputToRace(SerialSensorInput& input, TRace& race);
