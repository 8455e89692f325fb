// Whole-file sound decoding: PCM WAV by our own chunk walker, Ogg Vorbis by
// stb_vorbis. The block returned is malloc'd and freed with unloadSound.
#pragma once

#include "runtime/runtime.h"

#include <cstddef>
#include <cstdio>

unsigned char* loadSound(const String& path, int* length, int* channels, int* bytesPerSample, int* hertz);
void unloadSound(unsigned char* data);

// The most bytes an Ogg stream may decode to (2 GB unless told otherwise), and
// the size of the block stb_vorbis works in (8 MB); a stream that needs more
// is refused.
void SetOggLimits(size_t maxDecodedBytes, size_t decoderArenaBytes);

int readShort(FILE* file);
int readInt(FILE* file);
const char* readTag(FILE* file);
