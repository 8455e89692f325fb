// Ogg Vorbis reader: decodes the whole file into interleaved 16-bit samples
// with stb_vorbis, growing the block as frames arrive. Files whose comment
// header declares impossible lengths never reach the decoder.
#include "audio/sound_decode.h"
#include "audio/sound_readers.h"

#include "runtime/datapath.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#define STB_VORBIS_HEADER_ONLY
#include <stb_vorbis.h>

namespace {

constexpr int kFramesPerStep = 4096;
// Byte counts are ints for the decoder and OpenAL.
size_t maxSampleBytes = INT32_MAX;
size_t arenaBytes = size_t{1} << 23;

// stb_vorbis works inside one block of ours rather than the heap: on some
// damaged streams its residue decoder reads a few values past a codebook's
// table (at most two per channel). Inside the arena, with slack behind it,
// such a read lands on memory we own and only spoils the damaged sound. The
// arena is far larger than real streams ask for (a few hundred KB), so each
// is parsed once; only the pages the decoder touches cost anything. A stream
// that needs more is refused.
constexpr size_t kArenaSlackBytes = 4096;

struct Arena {
    size_t size = arenaBytes;
    char* bytes = static_cast<char*>(std::malloc(size + kArenaSlackBytes));
    Arena() {
        if (bytes) std::memset(bytes + size, 0, kArenaSlackBytes);
    }
    ~Arena() { std::free(bytes); }
    Arena(const Arena&) = delete;
    Arena& operator=(const Arena&) = delete;
};

bool Decode(stb_vorbis* vorbis, DecodedSound* out) {
    stb_vorbis_info info = stb_vorbis_get_info(vorbis);
    int channels = info.channels;
    if (channels <= 0) return false;

    // Each decode call is given room for at least kFramesPerStep frames.
    size_t step = static_cast<size_t>(channels) * kFramesPerStep;
    size_t capacity = step;
    size_t used = 0;
    auto* samples = static_cast<short*>(std::malloc(capacity * sizeof(short)));
    if (!samples) return false;

    long total = 0;
    for (;;) {
        int room = static_cast<int>(capacity - used);
        int frames = stb_vorbis_get_frame_short_interleaved(vorbis, channels, samples + used, room);
        if (frames <= 0) break;
        total += frames;
        used += static_cast<size_t>(frames) * static_cast<size_t>(channels);
        if (capacity - used < step) {
            size_t grown = capacity * 2;
            if (grown > maxSampleBytes / sizeof(short)) {
                std::free(samples);
                return false;
            }
            auto* bigger = static_cast<short*>(std::realloc(samples, grown * sizeof(short)));
            if (!bigger) {
                std::free(samples);
                return false;
            }
            samples = bigger;
            capacity = grown;
        }
    }

    // A stream of no frames is an empty sound, as an empty WAV data chunk is.
    out->data = reinterpret_cast<unsigned char*>(samples);
    out->length = static_cast<int>(total);
    out->channels = channels;
    out->bytesPerSample = 2;
    out->hertz = static_cast<int>(info.sample_rate);
    return true;
}

} // namespace

void SetOggLimits(size_t maxDecodedBytes, size_t decoderArenaBytes) {
    maxSampleBytes = maxDecodedBytes;
    arenaBytes = decoderArenaBytes;
}

bool ReadOggFile(const String& path, DecodedSound* out) {
    FILE* file = fopenFile(path, "rb");
    if (!file) return false;
    if (!OggCommentsFit(file)) {
        std::fclose(file);
        return false;
    }
    Arena arena;
    if (!arena.bytes) {
        std::fclose(file);
        return false;
    }
    const stb_vorbis_alloc room{arena.bytes, static_cast<int>(arena.size)};
    int error = 0;
    stb_vorbis* vorbis = stb_vorbis_open_file(file, 0, &error, &room);
    if (!vorbis) {
        std::fclose(file);
        return false;
    }
    bool ok = Decode(vorbis, out);
    stb_vorbis_close(vorbis);
    std::fclose(file);
    return ok;
}
