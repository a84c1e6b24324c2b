#include "voice/CzechPhrases.h"

#include <QStringList>

namespace CzechPhrases {

QString kartWord(int kart) {
    static const QStringList words{QStringLiteral("Jednička"), QStringLiteral("Dvojka"),
                                   QStringLiteral("Trojka"), QStringLiteral("Čtyřka")};
    return kart >= 1 && kart <= words.size() ? words.at(kart - 1) : QString::number(kart);
}

QString number(int value) {
    static const QStringList units{
        QStringLiteral("nula"),    QStringLiteral("jedna"),     QStringLiteral("dva"),
        QStringLiteral("tři"),     QStringLiteral("čtyři"),     QStringLiteral("pět"),
        QStringLiteral("šest"),    QStringLiteral("sedm"),      QStringLiteral("osm"),
        QStringLiteral("devět"),   QStringLiteral("deset"),     QStringLiteral("jedenáct"),
        QStringLiteral("dvanáct"), QStringLiteral("třináct"),   QStringLiteral("čtrnáct"),
        QStringLiteral("patnáct"), QStringLiteral("šestnáct"),  QStringLiteral("sedmnáct"),
        QStringLiteral("osmnáct"), QStringLiteral("devatenáct")};
    static const QStringList tens{QString(),
                                  QString(),
                                  QStringLiteral("dvacet"),
                                  QStringLiteral("třicet"),
                                  QStringLiteral("čtyřicet"),
                                  QStringLiteral("padesát"),
                                  QStringLiteral("šedesát"),
                                  QStringLiteral("sedmdesát"),
                                  QStringLiteral("osmdesát"),
                                  QStringLiteral("devadesát")};
    if (value < 0 || value > 99)
        return QString::number(value);
    if (value < 20)
        return units.at(value);
    const int unit = value % 10;
    return unit == 0 ? tens.at(value / 10) : tens.at(value / 10) + QLatin1Char(' ') + units.at(unit);
}

namespace {

QString minutesWords(qint64 minutes) {
    if (minutes == 1)
        return QStringLiteral("minuta");
    const QString count = minutes == 2 ? QStringLiteral("dvě") : number(int(minutes));
    return count + (minutes <= 4 ? QStringLiteral(" minuty") : QStringLiteral(" minut"));
}

} // namespace

QString lapTime(qint64 lapMs) {
    const qint64 hundredths = (qMax<qint64>(lapMs, 0) + 5) / 10;
    const qint64 minutes = qMin<qint64>(hundredths / 6000, 99);
    const int seconds = int(hundredths / 100 % 60);
    const int fraction = int(hundredths % 100);
    // A fraction below ten is read digit by digit, as a decimal is: "celá nula pět".
    const QString fractionWords =
        fraction < 10 ? QStringLiteral("nula ") + number(fraction) : number(fraction);
    const QString secondsWords = number(seconds) + QStringLiteral(" celá ") + fractionWords;
    return minutes > 0 ? minutesWords(minutes) + QLatin1Char(' ') + secondsWords : secondsWords;
}

QString callout(const QString& who, qint64 lapMs, bool bestLap) {
    return who + (bestLap ? QStringLiteral(", nejlepší kolo, ") : QStringLiteral(", ")) + lapTime(lapMs);
}

} // namespace CzechPhrases
