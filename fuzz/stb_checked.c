/* The fuzz build compiles Debian's stb_image and stb_vorbis from their headers
   so that the sanitizers and the coverage guidance see inside the decoders;
   these definitions take the place of the shared library's. The Ogg reader
   hands stb_vorbis an arena of its own, so the decoder allocates nothing
   here. */
#define STB_IMAGE_IMPLEMENTATION
#include <stb_image.h>

#include <stb_vorbis.h>
