// loadSound: picks the reader from the file name's extension.
#include "audio/sound_decode.h"

#include "audio/sound_readers.h"

#include <cstdlib>

namespace {

// The text after the last dot, unless a folder separator follows that dot.
String Extension(const String& path) {
    int dot = path.FindLast(".");
    if (dot < 0) return String();
    String tail = path.Slice(dot + 1);
    if (tail.Contains("/") || tail.Contains("\\")) return String();
    return tail.ToLower();
}

} // namespace

unsigned char* loadSound(const String& path, int* length, int* channels, int* bytesPerSample, int* hertz) {
    String extension = Extension(path);
    DecodedSound sound;
    bool ok = false;
    if (extension == "wav") {
        ok = ReadWavFile(path, &sound);
    } else if (extension == "ogg") {
        ok = ReadOggFile(path, &sound);
    }
    if (!ok) return nullptr;

    *length = sound.length;
    *channels = sound.channels;
    *bytesPerSample = sound.bytesPerSample;
    *hertz = sound.hertz;
    return sound.data;
}

void unloadSound(unsigned char* data) {
    std::free(data);
}
