#include "rankings/JpegWriter.h"

#include "base/UserError.h"
#include "config/AtomicFile.h"
#include "config/FileMessages.h"

#include <csetjmp>
#include <cstdio>
#include <cstdlib>

#include <jpeglib.h>

namespace {

// The library reports a failure by calling error_exit, which must not return: it jumps back here.
struct ErrorManager {
    jpeg_error_mgr base;
    std::jmp_buf jump;
    char message[JMSG_LENGTH_MAX];
};

void onError(j_common_ptr info) {
    auto* errors = reinterpret_cast<ErrorManager*>(info->err);
    (*info->err->format_message)(info, errors->message);
    std::longjmp(errors->jump, 1);
}

// Encodes into memory that the library allocates; nothing with a destructor lives between setjmp and
// a possible longjmp.
bool encodeInto(const QImage& rgb, int quality, unsigned char** buffer, unsigned long* size, char* message) {
    jpeg_compress_struct info{};
    ErrorManager errors{};
    info.err = jpeg_std_error(&errors.base);
    errors.base.error_exit = onError;
    if (setjmp(errors.jump)) {
        std::snprintf(message, JMSG_LENGTH_MAX, "%s", errors.message);
        jpeg_destroy_compress(&info);
        return false;
    }
    jpeg_create_compress(&info);
    jpeg_mem_dest(&info, buffer, size);
    info.image_width = JDIMENSION(rgb.width());
    info.image_height = JDIMENSION(rgb.height());
    info.input_components = 3;
    info.in_color_space = JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, quality, TRUE);
    jpeg_simple_progression(&info);
    info.dct_method = JDCT_FASTEST;
    jpeg_start_compress(&info, TRUE);
    while (info.next_scanline < info.image_height) {
        auto* row = const_cast<JSAMPROW>(rgb.constScanLine(int(info.next_scanline)));
        jpeg_write_scanlines(&info, &row, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    return true;
}

} // namespace

QByteArray JpegWriter::encode(const QImage& image, int quality) {
    const QImage rgb = image.convertToFormat(QImage::Format_RGB888);
    if (rgb.isNull() || rgb.width() == 0 || rgb.height() == 0)
        throw UserError(QStringLiteral("Obrázek tabulky je prázdný."));
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    char message[JMSG_LENGTH_MAX] = {};
    const bool encoded = encodeInto(rgb, qBound(1, quality, 100), &buffer, &size, message);
    QByteArray bytes;
    if (encoded)
        bytes = QByteArray(reinterpret_cast<const char*>(buffer), qsizetype(size));
    std::free(buffer);
    if (!encoded)
        throw UserError(QStringLiteral("Obrázek se nepodařilo zakódovat do JPEG: %1")
                            .arg(QString::fromLocal8Bit(message)));
    return bytes;
}

void JpegWriter::write(const QImage& image, const QString& path, int quality) {
    const QByteArray bytes = encode(image, quality);
    QString reason;
    if (!AtomicFile::write(path, bytes, &reason))
        throw UserError(cannotCreateFileMessage(path, reason));
}
