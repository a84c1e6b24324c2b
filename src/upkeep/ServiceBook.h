#pragma once

#include <QDateTime>
#include <QString>
#include <QtGlobal>

// "servis.txt" in the data folder: one line per zeroing of a kart's counter, the history of its
// maintenance. windows-1250, CR LF; a line reads "2026-12-09 14:05:33  motokára 2  vynulováno 3:30
// hodin  celkem 14:20 hodin".
class ServiceBook {
public:
    explicit ServiceBook(QString path) : m_path(std::move(path)) {}

    static QString line(const QDateTime& when, int kart, qint64 zeroedMinutes, qint64 totalMinutes);
    // Appends the line, keeping what the file holds; throws UserError when it cannot be written.
    void append(const QDateTime& when, int kart, qint64 zeroedMinutes, qint64 totalMinutes) const;

private:
    QString m_path;
};
