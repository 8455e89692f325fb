// Ogg Vorbis loading fuzz target: any bytes as an ".ogg" file through loadSound.
#include "decoded_sound.h"
#include "whole_block.h"

// One input may not decode a gigabyte; the arena still holds the set-up of
// every stream we make (under 200 KB).
extern "C" int LLVMFuzzerInitialize(int*, char***) {
    SetOggLimits(size_t{1} << 16, size_t{1} << 18);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static FuzzFile file("sound.ogg");
    file.Write(data, size);

    const DecodedSound sound = DecodeFuzzedSound(file);
    if (sound.pcm == nullptr) return 0;
    if (sound.length < 0 || sound.channels <= 0 || sound.bytesPerSample != 2) std::abort();
    if (sound.length > 0)
        RequireWholeBlock(sound.pcm,
                          static_cast<size_t>(sound.length) * static_cast<size_t>(sound.channels) * 2);
    unloadSound(sound.pcm);
    return 0;
}
