#include "backup/DosFileTime.h"

#include <QFileInfo>

namespace {

constexpr qint32 pack(int year, int month, int day, int hour, int minute, int second) {
    const quint32 date = quint32(((year - 1980) << 9) | (month << 5) | day);
    const quint32 time = quint32((hour << 11) | (minute << 5) | (second / 2));
    return qint32((date << 16) | time);
}

} // namespace

qint32 DosFileTime::fromDateTime(const QDateTime& time) {
    const QDateTime local = time.toLocalTime();
    const QDate date = local.date();
    const QTime clock = local.time();
    if (!local.isValid() || date.year() < 1980)
        return pack(1980, 1, 1, 0, 0, 0);
    if (date.year() > 2107)
        return pack(2107, 12, 31, 23, 59, 58);
    return pack(date.year(), date.month(), date.day(), clock.hour(), clock.minute(), clock.second());
}

QDateTime DosFileTime::toDateTime(qint32 packed) {
    const quint32 bits = quint32(packed);
    const int year = 1980 + int(bits >> 25);
    const int month = int((bits >> 21) & 0x0F);
    const int day = int((bits >> 16) & 0x1F);
    const int hour = int((bits >> 11) & 0x1F);
    const int minute = int((bits >> 5) & 0x3F);
    const int second = int(bits & 0x1F) * 2;
    const QDate date(year, month, day);
    if (!date.isValid() || hour > 23 || minute > 59 || second > 59)
        return QDateTime();
    return QDateTime(date, QTime(hour, minute, second), Qt::LocalTime);
}

qint32 DosFileTime::ofFile(const QString& path) {
    const QFileInfo info(path);
    return info.exists() ? fromDateTime(info.lastModified()) : 0;
}
