// Whole-file sound decoding: PCM WAV by our own chunk walker, Ogg Vorbis by
// stb_vorbis. The block returned is malloc'd and freed with unloadSound.
#pragma once

#include "runtime/runtime.h"

#include <cstdio>

unsigned char* loadSound(const String& path, int* length, int* channels, int* bytesPerSample, int* hertz);
void unloadSound(unsigned char* data);

int readShort(FILE* file);
int readInt(FILE* file);
const char* readTag(FILE* file);
