// Ogg Vorbis loading fuzz target: any bytes as an ".ogg" file through loadSound.
#include "audio/sound_decode.h"
#include "fuzz_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static FuzzFile file("sound.ogg");
    file.Write(data, size);

    int length = -7, channels = -7, bytesPerSample = -7, hertz = -7;
    unsigned char* pcm = loadSound(String(file.Path()), &length, &channels, &bytesPerSample, &hertz);
    if (pcm == nullptr) {
        if (length != -7 || channels != -7 || bytesPerSample != -7 || hertz != -7) std::abort();
        return 0;
    }
    if (length <= 0 || channels <= 0 || bytesPerSample != 2) std::abort();
    // Touch every decoded sample so that a short block shows up under ASan.
    size_t values = static_cast<size_t>(length) * static_cast<size_t>(channels);
    const short* samples = reinterpret_cast<const short*>(pcm);
    volatile int sum = 0;
    for (size_t i = 0; i < values; ++i) sum = sum + samples[i];
    unloadSound(pcm);
    return 0;
}
