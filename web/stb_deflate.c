/* The browser has no Debian stb library: the replay files' compressor comes
   from stb's image writer, compiled here. */
#define STB_IMAGE_WRITE_IMPLEMENTATION
#define STBI_WRITE_NO_STDIO
#include <stb_image_write.h>
