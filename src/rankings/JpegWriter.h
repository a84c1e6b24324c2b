#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>

// JPEG files of the table pictures, encoded with the settings the publishing needs and QImageWriter
// cannot give: the quality, progressive encoding, and the fastest DCT.
class JpegWriter {
public:
    // quality is 1..100 (clamped). Returns the file's bytes; throws UserError when it cannot encode.
    static QByteArray encode(const QImage& image, int quality);
    // Encodes and writes the file whole or not at all, replacing any file there; throws UserError
    // with the system's message when the path cannot be written.
    static void write(const QImage& image, const QString& path, int quality);
};
