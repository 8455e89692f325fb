// WAV reader fuzz target: any bytes as a ".wav" file through loadSound.
#include "decoded_sound.h"
#include "whole_block.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static FuzzFile file("sound.wav");
    file.Write(data, size);

    const DecodedSound sound = DecodeFuzzedSound(file);
    if (sound.pcm == nullptr) return 0;
    // A decoded block holds every frame it claims, and the frame size is sane.
    if (sound.length < 0 || sound.channels <= 0 || sound.bytesPerSample <= 0) std::abort();
    size_t bytes = static_cast<size_t>(sound.length) * static_cast<size_t>(sound.channels) *
                   static_cast<size_t>(sound.bytesPerSample);
    if (bytes > size) std::abort();
    RequireWholeBlock(sound.pcm, bytes);
    unloadSound(sound.pcm);
    return 0;
}
