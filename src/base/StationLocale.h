#pragma once

#include <QLocale>

// The station speaks Czech whatever the machine's own locale: dates and times that the operator or
// the audience reads (the status bar, the sheets, the archive listing) follow the Czech forms.
inline QLocale stationLocale() {
    return QLocale(QLocale::Czech, QLocale::CzechRepublic);
}
