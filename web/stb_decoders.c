/* The browser has no Debian stb library to link: its image and Vorbis
   decoders are compiled from the same headers here. */
#define STB_IMAGE_IMPLEMENTATION
#include <stb_image.h>

#include <stb_vorbis.h>
