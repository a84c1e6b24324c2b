#include "backup/BlockCodec.h"

#include <zlib.h>

struct BlockCodec::Streams {
    z_stream deflater{};
    int deflaterLevel = -2; // no deflater yet
    z_stream inflater{};
    bool inflaterReady = false;

    ~Streams() {
        if (deflaterLevel != -2)
            deflateEnd(&deflater);
        if (inflaterReady)
            inflateEnd(&inflater);
    }
};

BlockCodec::BlockCodec() : m_streams(std::make_unique<Streams>()) {}

BlockCodec::~BlockCodec() = default;

BlockCodec::Result BlockCodec::compress(int level, const char* data, int size, char* out,
                                        int& compressedSize) {
    Streams& s = *m_streams;
    if (s.deflaterLevel != level) {
        if (s.deflaterLevel != -2)
            deflateEnd(&s.deflater);
        s.deflater = z_stream{};
        s.deflaterLevel = -2;
        if (deflateInit2(&s.deflater, level, Z_DEFLATED, 15, 8, Z_DEFAULT_STRATEGY) != Z_OK)
            return Result::Failed;
        s.deflaterLevel = level;
    } else if (deflateReset(&s.deflater) != Z_OK) {
        return Result::Failed;
    }
    s.deflater.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data));
    s.deflater.avail_in = uInt(size);
    s.deflater.next_out = reinterpret_cast<Bytef*>(out);
    s.deflater.avail_out = uInt(kBlockSize);
    const int status = deflate(&s.deflater, Z_FINISH);
    if (status == Z_STREAM_END) {
        compressedSize = int(s.deflater.total_out);
        return Result::Compressed;
    }
    // The output buffer filled up before the stream could finish.
    if (status == Z_OK || status == Z_BUF_ERROR)
        return Result::DoesNotFit;
    return Result::Failed;
}

bool BlockCodec::decompress(const char* data, int size, char* out, int& outputSize) {
    Streams& s = *m_streams;
    if (!s.inflaterReady) {
        s.inflater = z_stream{};
        if (inflateInit2(&s.inflater, 15) != Z_OK)
            return false;
        s.inflaterReady = true;
    } else if (inflateReset(&s.inflater) != Z_OK) {
        return false;
    }
    s.inflater.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data));
    s.inflater.avail_in = uInt(size);
    s.inflater.next_out = reinterpret_cast<Bytef*>(out);
    s.inflater.avail_out = uInt(kBlockSize);
    if (inflate(&s.inflater, Z_NO_FLUSH) != Z_STREAM_END)
        return false;
    outputSize = int(s.inflater.total_out);
    return true;
}
