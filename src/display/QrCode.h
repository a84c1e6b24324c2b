#pragma once

#include <QImage>
#include <QString>

// A QR code of a short text (the page's address), black on white with the quiet zone the standard
// asks for, each module moduleSize pixels square. A null image when the text cannot be encoded.
QImage qrCodeImage(const QString& text, int moduleSize);
