// The two file readers behind loadSound; each opens, decodes and closes one file.
#pragma once

#include "runtime/runtime.h"

#include <cstdio>

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

// True when the comment header of the open Ogg Vorbis file declares only
// lengths that fit in it; the file is rewound either way.
bool OggCommentsFit(FILE* file);
