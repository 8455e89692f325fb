// PNG chunk walk: signature, then length (big-endian), type, data and CRC per
// chunk, up to IEND, whose data and CRC the decoder never reads.
#include "graphics/png_chunks.h"

#include <cstdint>
#include <cstring>

namespace {

const unsigned char kSignature[8] = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};

// `read(at, out, count)` fills `out` with `count` bytes from offset `at`.
template <class Read> bool ChunksFit(uint64_t size, Read read) {
    unsigned char header[8];
    if (!read(0, header, 8) || std::memcmp(header, kSignature, 8) != 0) return true;
    uint64_t at = 8;
    while (read(at, header, 8)) {
        if (std::memcmp(header + 4, "IEND", 4) == 0) return true;
        uint64_t length = (uint64_t{header[0]} << 24) | (uint64_t{header[1]} << 16) |
                          (uint64_t{header[2]} << 8) | uint64_t{header[3]};
        at += 8 + length + 4;
        if (at > size) return false;
    }
    return false;
}

} // namespace

bool PngChunksFit(FILE* file) {
    long start = std::ftell(file);
    if (start < 0 || std::fseek(file, 0, SEEK_END) != 0) return true;
    long end = std::ftell(file);
    bool fits =
        ChunksFit(static_cast<uint64_t>(end - start), [&](uint64_t at, unsigned char* out, size_t count) {
            return std::fseek(file, start + static_cast<long>(at), SEEK_SET) == 0 &&
                   std::fread(out, 1, count, file) == count;
        });
    std::fseek(file, start, SEEK_SET);
    return fits;
}

bool PngChunksFit(const unsigned char* bytes, size_t size) {
    return ChunksFit(size, [&](uint64_t at, unsigned char* out, size_t count) {
        if (at > size || size - at < count) return false;
        std::memcpy(out, bytes + at, count);
        return true;
    });
}
