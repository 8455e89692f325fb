// The two file readers behind loadSound; each opens, decodes and closes one file.
#pragma once

#include "host/runtime.h"

struct DecodedSound {
    unsigned char* data = nullptr; // malloc'd PCM
    int length = 0;                // sample frames
    int channels = 0;
    int bytesPerSample = 0;
    int hertz = 0;
};

// Both return false, with nothing allocated and the file closed, on any failure.
bool ReadWavFile(const String& path, DecodedSound* out);
bool ReadOggFile(const String& path, DecodedSound* out);
