// The WAV and Ogg targets' shared half: the fuzzed file through loadSound,
// with the rule that a failure leaves every output as it was.
#pragma once

#include "audio/sound_decode.h"
#include "fuzz_file.h"

#include <cstdlib>

struct DecodedSound {
    unsigned char* pcm = nullptr;
    int length = -7, channels = -7, bytesPerSample = -7, hertz = -7;
};

inline DecodedSound DecodeFuzzedSound(const FuzzFile& file) {
    DecodedSound sound;
    sound.pcm =
        loadSound(String(file.Path()), &sound.length, &sound.channels, &sound.bytesPerSample, &sound.hertz);
    if (sound.pcm == nullptr &&
        (sound.length != -7 || sound.channels != -7 || sound.bytesPerSample != -7 || sound.hertz != -7))
        std::abort();
    return sound;
}
