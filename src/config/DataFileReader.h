#pragma once

#include <QByteArray>
#include <QString>

// The one way the station reads a data file (settings, kart states, tables, lap files, records).
// A data file is a regular file or missing: a folder, a device, a FIFO or a link to one of them in
// its place is refused before it is opened, so that nothing blocks on a FIFO or reads a device
// without end. A file larger than the caller's bound is refused, not read whole.
class DataFileReader {
public:
    // Refused: no regular file, or larger than the bound. Unreadable: the system would not open or
    // read it (no right, an I/O error).
    enum class Status { Read, Missing, Unreadable, Refused };
    struct Result {
        Status status = Status::Missing;
        QByteArray bytes;
        // Refused: a Czech message naming the file. Unreadable: the system's message.
        QString error;
    };

    // Far above any settings, kart-state or record file the station writes (a few kilobytes).
    static constexpr qint64 DefaultMaxBytes = 4 * 1024 * 1024;

    static Result read(const QString& path, qint64 maxBytes = DefaultMaxBytes);

    // The Czech refusal for a path that exists (after its links are followed) but is no regular
    // file; empty for a regular file or a missing one.
    static QString notRegularFile(const QString& path);
    static QString tooLarge(const QString& path, qint64 maxBytes);
};
