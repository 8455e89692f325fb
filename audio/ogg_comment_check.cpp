// Checks the comment header of an Ogg Vorbis file before stb_vorbis opens it.
// The decoder allocates and fills whatever vendor and comment lengths that
// header declares, so one damaged length field could cost gigabytes of memory
// and seconds of work; here every length must fit inside its packet.
#include "audio/sound_readers.h"

#include <cstdint>
#include <cstring>
#include <string>

namespace {

constexpr int kPageHeaderBytes = 27;
constexpr unsigned char kContinuedPacket = 1;

struct Page {
    unsigned char flags = 0;
    unsigned char segments[255] = {};
    int segmentCount = 0;
};

bool ReadPage(FILE* file, Page* page) {
    unsigned char header[kPageHeaderBytes];
    if (std::fread(header, 1, sizeof header, file) != sizeof header) return false;
    if (std::memcmp(header, "OggS", 4) != 0 || header[4] != 0) return false;
    page->flags = header[5];
    page->segmentCount = header[26];
    return std::fread(page->segments, 1, static_cast<size_t>(page->segmentCount), file) ==
           static_cast<size_t>(page->segmentCount);
}

// The packet that starts the second page, gathered over continued pages the
// way the decoder reads it.
bool ReadCommentPacket(FILE* file, std::string* packet) {
    Page page;
    if (!ReadPage(file, &page)) return false;
    long body = 0;
    for (int i = 0; i < page.segmentCount; ++i) body += page.segments[i];
    if (std::fseek(file, body, SEEK_CUR) != 0) return false;

    if (!ReadPage(file, &page) || (page.flags & kContinuedPacket)) return false;
    for (;;) {
        for (int i = 0; i < page.segmentCount; ++i) {
            size_t length = page.segments[i];
            size_t at = packet->size();
            packet->resize(at + length);
            if (std::fread(packet->data() + at, 1, length, file) != length) return false;
            if (length < 255) return true;
        }
        if (!ReadPage(file, &page) || !(page.flags & kContinuedPacket)) return false;
    }
}

uint32_t Field32(const std::string& packet, size_t at) {
    uint32_t value = 0;
    for (int i = 3; i >= 0; --i) value = (value << 8) | static_cast<unsigned char>(packet[at + i]);
    return value;
}

} // namespace

bool OggCommentsFit(FILE* file) {
    std::string packet;
    bool read = ReadCommentPacket(file, &packet);
    std::rewind(file);
    if (!read || packet.size() < 7 || packet.compare(0, 7, "\3vorbis") != 0) return false;

    // Vendor text, comment count, then each comment's length and text.
    size_t at = 7;
    auto skipText = [&]() {
        if (packet.size() - at < 4) return false;
        uint32_t length = Field32(packet, at);
        at += 4;
        if (length > packet.size() - at) return false;
        at += length;
        return true;
    };
    if (!skipText() || packet.size() - at < 4) return false;
    uint32_t comments = Field32(packet, at);
    at += 4;
    for (uint32_t i = 0; i < comments; ++i)
        if (!skipText()) return false;
    return true;
}
