// Checks the chunk lengths of a PNG before stb_image reads it.
#pragma once

#include <cstddef>
#include <cstdio>

// False for a PNG with a chunk before IEND that does not fit inside the
// file: stb_image would fail on it anyway, but only after growing its
// compressed-data block to the declared length, which may be 2 GB. Anything
// that is not a PNG passes. The file is left where it was.
bool PngChunksFit(FILE* file);
bool PngChunksFit(const unsigned char* bytes, size_t size);
