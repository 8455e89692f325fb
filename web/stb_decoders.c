/* The browser has no Debian stb library to link, and the sanitizer and fuzz
   builds want to check inside the decoders: all three compile the image and
   Vorbis decoders from the same headers here. */
#define STB_IMAGE_IMPLEMENTATION
#include <stb_image.h>

#include <stb_vorbis.h>
