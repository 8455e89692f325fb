// RIFF WAVE reader for PCM data: the little-endian field readers and the chunk
// walker. Sizes are checked against the bytes left so that a damaged file can
// neither ask for a huge block nor send the walker off the end.
#include "audio/sound_decode.h"

#include "audio/sound_readers.h"
#include "runtime/datapath.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>

int readShort(FILE* file) {
    unsigned char bytes[2];
    if (std::fread(bytes, 1, 2, file) != 2) return -1;
    return bytes[0] | (bytes[1] << 8);
}

int readInt(FILE* file) {
    unsigned char bytes[4];
    if (std::fread(bytes, 1, 4, file) != 4) return -1;
    uint32_t value = static_cast<uint32_t>(bytes[0]) | (static_cast<uint32_t>(bytes[1]) << 8) |
                     (static_cast<uint32_t>(bytes[2]) << 16) | (static_cast<uint32_t>(bytes[3]) << 24);
    return static_cast<int32_t>(value);
}

const char* readTag(FILE* file) {
    static char tag[8];
    if (std::fread(tag, 1, 4, file) != 4) return "";
    tag[4] = 0;
    return tag;
}

namespace {

constexpr int kPcmFormat = 1;
constexpr int kFormatFieldBytes = 16;

// Bytes between the read position and the end of the file, or -1.
long BytesLeft(FILE* file) {
    long here = std::ftell(file);
    if (here < 0 || std::fseek(file, 0, SEEK_END) != 0) return -1;
    long end = std::ftell(file);
    if (end < 0 || std::fseek(file, here, SEEK_SET) != 0) return -1;
    return end - here;
}

// A chunk size that fits in what is left of the file.
bool ChunkFits(FILE* file, int size) {
    return size >= 0 && size <= BytesLeft(file);
}

bool ReadWav(FILE* file, DecodedSound* out) {
    if (std::strcmp(readTag(file), "RIFF") != 0) return false;
    readInt(file);
    if (std::strcmp(readTag(file), "WAVE") != 0) return false;
    if (std::strcmp(readTag(file), "fmt ") != 0) return false;
    int formatSize = readInt(file);
    if (!ChunkFits(file, formatSize)) return false;

    if (readShort(file) != kPcmFormat) return false;
    int channels = readShort(file);
    int hertz = readInt(file);
    readInt(file);   // byte rate
    readShort(file); // block alignment
    int bits = readShort(file);
    // Without channels or whole bytes per sample there is no frame size.
    if (channels <= 0 || bits < 8) return false;
    if (formatSize > kFormatFieldBytes && std::fseek(file, formatSize - kFormatFieldBytes, SEEK_CUR) != 0)
        return false;

    for (;;) {
        bool isData = std::strcmp(readTag(file), "data") == 0;
        if (std::feof(file) || std::ferror(file)) return false;
        int size = readInt(file);
        if (!ChunkFits(file, size)) return false;
        if (!isData) {
            if (std::fseek(file, size, SEEK_CUR) != 0) return false;
            continue;
        }

        // A block of at least one byte, so an empty chunk is not mistaken for a failure.
        auto* data = static_cast<unsigned char*>(std::malloc(size > 0 ? static_cast<size_t>(size) : 1));
        if (!data) return false;
        if (std::fread(data, 1, static_cast<size_t>(size), file) != static_cast<size_t>(size)) {
            std::free(data);
            return false;
        }
        int bytesPerSample = bits / 8;
        out->data = data;
        out->length = size / (channels * bytesPerSample);
        out->channels = channels;
        out->bytesPerSample = bytesPerSample;
        out->hertz = hertz;
        return true;
    }
}

} // namespace

bool ReadWavFile(const String& path, DecodedSound* out) {
    FILE* file = fopenFile(path, "rb");
    if (!file) return false;
    bool ok = ReadWav(file, out);
    std::fclose(file);
    return ok;
}
