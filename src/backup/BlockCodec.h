#pragma once

#include <QtGlobal>

#include <memory>

// One archive block is one complete zlib stream of at most 16 384 bytes that inflates to at most
// 16 384 bytes. The zlib states are made once and reset per block: a reset stream writes the same
// bytes as a fresh one, without the cost of allocating its tables twelve thousand times a backup.
class BlockCodec {
public:
    static constexpr int kBlockSize = 16384;

    BlockCodec();
    ~BlockCodec();
    BlockCodec(const BlockCodec&) = delete;
    BlockCodec& operator=(const BlockCodec&) = delete;

    enum class Result { Compressed, DoesNotFit, Failed };
    // Deflates size bytes (window bits 15, memory level 8, default strategy) as one finished stream
    // into out (kBlockSize bytes); compressedSize is its length when it fits.
    Result compress(int level, const char* data, int size, char* out, int& compressedSize);

    // Inflates one whole stream into out (kBlockSize bytes); false when it is not one complete zlib
    // stream or inflates to more than kBlockSize bytes.
    bool decompress(const char* data, int size, char* out, int& outputSize);

private:
    struct Streams;
    std::unique_ptr<Streams> m_streams;
};
