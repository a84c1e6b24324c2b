#pragma once

#include <QDateTime>
#include <QtGlobal>

// File times as archives keep them: the packed MS-DOS form of local time, the date in the high 16
// bits, the time in the low 16 bits, seconds in units of two.
class DosFileTime {
public:
    // Times before 1980 or after 2107 cannot be packed; they are held at the nearest end of the range.
    static qint32 fromDateTime(const QDateTime& time);
    // An invalid packed value (month 13, day 0, hour 25, ...) gives an invalid QDateTime.
    static QDateTime toDateTime(qint32 packed);
    // The last-write time of a file; 0 when it has none.
    static qint32 ofFile(const QString& path);
};
