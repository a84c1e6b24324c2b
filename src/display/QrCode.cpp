#include "display/QrCode.h"

#include <QPainter>

#include <qrencode.h>

#include <memory>

QImage qrCodeImage(const QString& text, int moduleSize) {
    const QByteArray utf8 = text.toUtf8();
    // Medium error correction: a TV picture taken by a phone from across a room is not perfect.
    std::unique_ptr<QRcode, void (*)(QRcode*)> code(
        QRcode_encodeString(utf8.constData(), 0, QR_ECLEVEL_M, QR_MODE_8, 1), QRcode_free);
    if (!code || moduleSize < 1)
        return {};
    constexpr int Quiet = 4;
    const int modules = code->width + 2 * Quiet;
    QImage image(modules * moduleSize, modules * moduleSize, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    for (int y = 0; y < code->width; ++y) {
        for (int x = 0; x < code->width; ++x) {
            if (code->data[y * code->width + x] & 1)
                painter.fillRect((x + Quiet) * moduleSize, (y + Quiet) * moduleSize, moduleSize, moduleSize,
                                 Qt::black);
        }
    }
    return image;
}
