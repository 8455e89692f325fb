// Ogg Vorbis files whose comment header declares lengths it does not hold:
// refused before the decoder would allocate and fill them, in time and memory
// bounded by the file. Cases made from a real file, and one found by fuzzing.
#include "audio/sound_decode.h"

#include "sound_files.h"

#include <sys/resource.h>

#include <cstdint>

namespace {

// The comment packet of tone_mono_10000.ogg starts the second page, which
// holds it and the set-up packet; the page checksum is not what decoders check.
struct OggFile {
    std::string bytes;
    size_t segmentTable = 0; // second page's segment table
    size_t packet = 0;       // comment packet

    explicit OggFile(const std::string& whole) : bytes(whole) {
        size_t page = bytes.find("OggS", 4);
        segmentTable = page + 27;
        packet = segmentTable + static_cast<unsigned char>(bytes[page + 26]);
    }
    void Put32(size_t at, uint32_t value) {
        for (int i = 0; i < 4; ++i) bytes[at + i] = static_cast<char>(value >> (8 * i));
    }
    uint32_t Get32(size_t at) const {
        uint32_t value = 0;
        for (int i = 3; i >= 0; --i) value = (value << 8) | static_cast<unsigned char>(bytes[at + i]);
        return value;
    }
    size_t VendorLength() const { return packet + 7; }
    size_t CommentCount() const { return VendorLength() + 4 + Get32(VendorLength()); }
};

long PeakResidentKilobytes() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

bool Loads(const std::string& path) {
    int length = 0, channels = 0, bytesPerSample = 0, hertz = 0;
    unsigned char* data = loadSound(String(path), &length, &channels, &bytesPerSample, &hertz);
    unloadSound(data);
    return data != nullptr;
}

// Each load, in a child of its own, is refused without its peak memory
// growing by more than a few megabytes.
void ExpectRefusedCheaply(const std::string& path) {
    EXPECT_EXIT(
        {
            long before = PeakResidentKilobytes();
            bool loaded = Loads(path);
            long grown = PeakResidentKilobytes() - before;
            std::fprintf(stderr, "loaded %d, peak grew %ld kB\n", loaded, grown);
            std::_Exit(!loaded && grown < 16 * 1024 ? 0 : 1);
        },
        testing::ExitedWithCode(0), "loaded 0");
}

using OggHeaderTest = SoundFolderTest;

TEST_F(OggHeaderTest, LengthsBeyondTheCommentPacketAreRefused) {
    const OggFile tone(Read(AUDIO_TEST_DATA "/tone_mono_10000.ogg"));
    ASSERT_EQ(tone.bytes.compare(tone.packet, 7, "\3vorbis"), 0);
    Write("data/tone.ogg", tone.bytes);
    ASSERT_TRUE(Loads("data/tone.ogg"));

    OggFile vendor = tone;
    vendor.Put32(vendor.VendorLength(), 0x7FFFFFF0u);
    Write("data/vendor.ogg", vendor.bytes);
    ExpectRefusedCheaply("data/vendor.ogg");

    OggFile count = tone;
    count.Put32(count.CommentCount(), 0x7FFFFFFFu);
    Write("data/count.ogg", count.bytes);
    ExpectRefusedCheaply("data/count.ogg");

    // The last 8 bytes of the vendor text become a comment count of 1 and a
    // comment length; the old count field and the framing byte are then the
    // comment text, so a length of 5 ends exactly at the packet's end.
    auto withComment = [&](uint32_t length) {
        OggFile file = tone;
        size_t count = file.CommentCount();
        file.Put32(file.VendorLength(), file.Get32(file.VendorLength()) - 8);
        file.Put32(count - 8, 1);
        file.Put32(count - 4, length);
        return file.bytes;
    };
    Write("data/comment.ogg", withComment(6));
    ExpectRefusedCheaply("data/comment.ogg");
    Write("data/fits.ogg", withComment(4));
    EXPECT_TRUE(Loads("data/fits.ogg"));
}

TEST_F(OggHeaderTest, FuzzFoundVendorLengthIsRefused) {
    // Its vendor length asks for some 600 MB, filled a byte at a time.
    ExpectRefusedCheaply(AUDIO_TEST_DATA "/fuzz/ogg_vendor_length.ogg");
}

} // namespace
