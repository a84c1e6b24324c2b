#pragma once

#include <QByteArray>
#include <QString>
#include <QtGlobal>

// The journal file of the running race: "vysledky/probihajici zavod.txt", windows-1250 text with
// CR LF, one record per line, readable by a person:
//
//   Tarvolin: deník probíhajícího závodu
//   start 2026-12-09 14:32:05
//   minuty 10
//   cidla paralelní port
//   jmena Petr<TAB>Jana<TAB><TAB>          (only where the station knows names)
//   kolo 1 83456 83456789                  (kart, lap in ms as measured, pass instant in µs)
//   seznam 2 01:23:456<TAB>01:25:000       (kart 2's list as the operator left it)
//   krok motohodiny                         (the end's engine time is stored)
//   krok soubory                            (the end's lap files are kept)
namespace RaceJournalFormat {

inline QString relativePath() {
    return QStringLiteral("vysledky/probihajici zavod.txt");
}
inline QString magicLine() {
    return QStringLiteral("Tarvolin: deník probíhajícího závodu");
}
inline QString startFormat() {
    return QStringLiteral("yyyy-MM-dd HH:mm:ss");
}

// A journal this large is no race's: its reading stops there. A four-hour race of four karts at ten
// seconds a lap is 6000 passes, under 200 kB.
constexpr qint64 MaxBytes = 8 * 1024 * 1024;
constexpr qint64 MaxLineBytes = 256 * 1024;
constexpr int MaxPasses = 100000;
// Lines, whatever they hold: the reading ends in a fraction of a second.
constexpr int MaxLines = 250000;
constexpr int MaxListEntries = 20000;
// A lap or a pass beyond a week, or a lap below what the largest correction (59 s) can give, is
// nonsense.
constexpr qint64 MaxLapMs = 7LL * 24 * 3600 * 1000;
constexpr qint64 MinLapMs = -59999;
constexpr qint64 MaxPassUs = MaxLapMs * 1000;

} // namespace RaceJournalFormat
