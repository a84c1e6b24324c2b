#include "printing/SheetSettings.h"

#include "base/StationLocale.h"
#include "config/TSettings.h"

#include <QRegularExpression>

SheetSettings SheetSettings::from(const TSettings& settings, const QImage& logo) {
    SheetSettings sheet;
    sheet.texts = settings.Tisk.Text;
    sheet.logo = logo;
    sheet.logoSize = settings.Tisk.Velikost;
    sheet.centreLogo = settings.Tisk.Centrovat;
    sheet.trackLength = settings.Trat.delka;
    const QDateTime now = QDateTime::currentDateTime();
    sheet.dateText = dateTextOf(now);
    sheet.timeText = timeTextOf(now);
    return sheet;
}

QString SheetSettings::dateTextOf(const QDateTime& moment) {
    // The short form with the whole year: a printed record outlives the century's two digits.
    QString format = stationLocale().dateFormat(QLocale::ShortFormat);
    if (!format.contains(QLatin1String("yyyy")))
        format.replace(QLatin1String("yy"), QLatin1String("yyyy"));
    return stationLocale().toString(moment.date(), format);
}

QString SheetSettings::timeTextOf(const QDateTime& moment) {
    // Qt's long form names the time zone; the sheet shows the clock time only.
    QString format = stationLocale().timeFormat(QLocale::LongFormat);
    format.remove(QRegularExpression(QStringLiteral("\\s*t+\\s*")));
    return moment.time().toString(format.trimmed());
}
