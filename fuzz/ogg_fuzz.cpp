// Ogg Vorbis loading fuzz target: any bytes as an ".ogg" file through loadSound.
#include "decoded_sound.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static FuzzFile file("sound.ogg");
    file.Write(data, size);

    const DecodedSound sound = DecodeFuzzedSound(file);
    if (sound.pcm == nullptr) return 0;
    if (sound.length < 0 || sound.channels <= 0 || sound.bytesPerSample != 2) std::abort();
    // Touch every decoded sample so that a short block shows up under ASan.
    size_t values = static_cast<size_t>(sound.length) * static_cast<size_t>(sound.channels);
    const short* samples = reinterpret_cast<const short*>(sound.pcm);
    volatile int sum = 0;
    for (size_t i = 0; i < values; ++i) sum = sum + samples[i];
    unloadSound(sound.pcm);
    return 0;
}
