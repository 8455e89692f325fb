// WAV reader fuzz target: any bytes as a ".wav" file through loadSound.
#include "audio/sound_decode.h"
#include "fuzz_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static FuzzFile file("sound.wav");
    file.Write(data, size);

    int length = -7, channels = -7, bytesPerSample = -7, hertz = -7;
    unsigned char* pcm = loadSound(String(file.Path()), &length, &channels, &bytesPerSample, &hertz);
    if (pcm == nullptr) {
        // A failure leaves the outputs alone.
        if (length != -7 || channels != -7 || bytesPerSample != -7 || hertz != -7) std::abort();
        return 0;
    }
    // A decoded block holds every frame it claims, and the frame size is sane.
    if (length < 0 || channels <= 0 || bytesPerSample <= 0) std::abort();
    size_t bytes =
        static_cast<size_t>(length) * static_cast<size_t>(channels) * static_cast<size_t>(bytesPerSample);
    if (bytes > size) std::abort();
    volatile unsigned char sum = 0;
    for (size_t i = 0; i < bytes; ++i) sum = static_cast<unsigned char>(sum + pcm[i]);
    unloadSound(pcm);
    return 0;
}
