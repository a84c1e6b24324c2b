#pragma once

#include <QString>
#include <QtGlobal>

// The Czech words of a call-out, as the announcer says them: "Dvojka, třicet jedna celá dvacet čtyři".
namespace CzechPhrases {

// Kart 1..4 as its nickname: "Jednička", "Dvojka", "Trojka", "Čtyřka".
QString kartWord(int kart);
// 0..99 in words, as counted ("dvacet jedna", "dva").
QString number(int value);
// A lap time to the hundredth (rounded half up): "třicet jedna celá dvacet čtyři"; with whole
// minutes in front, "minuta dva celá třicet pět", "dvě minuty ...", "pět minut ...".
QString lapTime(qint64 lapMs);
// The whole call-out: who (the driver's name when known, else the kart's word), "nejlepší kolo" for
// a best lap, and the time.
QString callout(const QString& who, qint64 lapMs, bool bestLap);

} // namespace CzechPhrases
