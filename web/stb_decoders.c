/* The browser has no Debian stb library to link, and the sanitizer build
   wants to check inside the decoders: both compile the image and Vorbis
   decoders from the same headers here. */
#define STB_IMAGE_IMPLEMENTATION
#include <stb_image.h>

#include <stb_vorbis.h>
