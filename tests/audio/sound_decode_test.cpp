// Sound decoding: reader choice by extension, the RIFF chunk walker and its
// defences against damaged files, the field readers and Ogg Vorbis.
#include "audio/sound_decode.h"

#include "sound_files.h"

#include <dirent.h>

#include <random>
#include <vector>

namespace {

using namespace wav;

struct Decoded {
    bool ok = false;
    std::string bytes;
    int length = -7, channels = -7, bytesPerSample = -7, hertz = -7;
};

// Decodes a file and copies out the block; the size read back is the one the
// outputs describe.
Decoded Load(const String& path) {
    Decoded d;
    unsigned char* data = loadSound(path, &d.length, &d.channels, &d.bytesPerSample, &d.hertz);
    if (!data) return d;
    d.ok = true;
    d.bytes.assign(reinterpret_cast<char*>(data),
                   static_cast<size_t>(d.length) * d.channels * d.bytesPerSample);
    unloadSound(data);
    return d;
}

int OpenFileCount() {
    int count = 0;
    DIR* dir = opendir("/proc/self/fd");
    while (dirent* entry = readdir(dir)) count += entry->d_name[0] != '.';
    closedir(dir);
    return count;
}

void ExpectRejected(const Decoded& d) {
    EXPECT_FALSE(d.ok);
    // Outputs are left alone on failure.
    EXPECT_EQ(d.length, -7);
    EXPECT_EQ(d.channels, -7);
    EXPECT_EQ(d.bytesPerSample, -7);
    EXPECT_EQ(d.hertz, -7);
}

using SoundDecodeTest = SoundFolderTest;

TEST_F(SoundDecodeTest, ExtensionPicksTheReader) {
    std::string tone = MonoTone(100);
    Write("data/tone.wav", tone);
    Write("data/LOUD.WAV", tone);
    Write("data/Mixed.Wav", tone);
    Write("data/plain", tone);
    Write("data/sub.wav/plain", tone);
    Write("data/sub.wav\\plain", tone);
    Write("data/tone.mp3", tone);
    Write("data/tone.wav.bak", tone);

    EXPECT_TRUE(Load("cobalt://data/tone.wav").ok);
    EXPECT_TRUE(Load("data/tone.wav").ok);
    EXPECT_TRUE(Load(String((dir_ / "data/tone.wav").string())).ok);
    Decoded upper = Load("cobalt://data/LOUD.WAV");
    EXPECT_TRUE(upper.ok);
    EXPECT_EQ(upper.length, 100);
    EXPECT_TRUE(Load("cobalt://data/Mixed.Wav").ok);

    ExpectRejected(Load("cobalt://data/plain"));
    ExpectRejected(Load("cobalt://data/sub.wav/plain"));
    ExpectRejected(Load("cobalt://data/sub.wav\\plain"));
    ExpectRejected(Load("cobalt://data/tone.mp3"));
    ExpectRejected(Load("cobalt://data/tone.wav.bak"));
    ExpectRejected(Load("cobalt://data/missing.wav"));
    ExpectRejected(Load("cobalt://data/"));
    ExpectRejected(Load(""));
}

TEST_F(SoundDecodeTest, PcmDataComesBackAsStored) {
    std::string stereo;
    for (int i = 0; i < 20000; ++i) stereo += Le16((i * 37) & 0xFFFF);
    Write("data/stereo.wav", Riff(Chunk("fmt ", FormatBody(1, 2, 44100, 16)) + Chunk("data", stereo)));
    Decoded d = Load("cobalt://data/stereo.wav");
    ASSERT_TRUE(d.ok);
    EXPECT_EQ(d.length, 10000);
    EXPECT_EQ(d.channels, 2);
    EXPECT_EQ(d.bytesPerSample, 2);
    EXPECT_EQ(d.hertz, 44100);
    EXPECT_EQ(d.bytes, stereo);

    std::string bytes8 = "\x80\x90\xa0\x70\x60";
    Write("data/eight.wav", Riff(Chunk("fmt ", FormatBody(1, 1, 8000, 8)) + Chunk("data", bytes8)));
    d = Load("cobalt://data/eight.wav");
    ASSERT_TRUE(d.ok);
    EXPECT_EQ(d.length, 5);
    EXPECT_EQ(d.bytesPerSample, 1);
    EXPECT_EQ(d.hertz, 8000);
    EXPECT_EQ(d.bytes, bytes8);

    // An empty data chunk is a sound of no frames, not a failure.
    Write("data/empty.wav", Riff(Chunk("fmt ", FormatBody(1, 1, 8000, 8)) + Chunk("data", "")));
    d = Load("cobalt://data/empty.wav");
    EXPECT_TRUE(d.ok);
    EXPECT_EQ(d.length, 0);
}

TEST_F(SoundDecodeTest, ChunkWalkerSkipsWhatItDoesNotKnow) {
    std::string pcm = Tone16(50, 22050);
    // A format chunk of 18 bytes carries two extra bytes.
    Write("data/fmt18.wav", Riff(Chunk("fmt ", FormatBody(1, 1, 22050, 16) + Le16(0)) + Chunk("data", pcm)));
    Decoded d = Load("cobalt://data/fmt18.wav");
    ASSERT_TRUE(d.ok);
    EXPECT_EQ(d.bytes, pcm);

    // Unknown chunks are dropped by exactly their size, odd or even.
    Write("data/list.wav", Riff(Chunk("fmt ", FormatBody(1, 1, 22050, 16)) + Chunk("LIST", "INFOx") +
                                Chunk("fact", "1234") + Chunk("data", pcm)));
    d = Load("cobalt://data/list.wav");
    ASSERT_TRUE(d.ok);
    EXPECT_EQ(d.length, 50);
    EXPECT_EQ(d.bytes, pcm);

    // The format chunk must come first.
    Write("data/listfirst.wav",
          Riff(Chunk("LIST", "INFO") + Chunk("fmt ", FormatBody(1, 1, 22050, 16)) + Chunk("data", pcm)));
    ExpectRejected(Load("cobalt://data/listfirst.wav"));

    // No data chunk at all.
    Write("data/nodata.wav", Riff(Chunk("fmt ", FormatBody(1, 1, 22050, 16)) + Chunk("LIST", "INFO")));
    ExpectRejected(Load("cobalt://data/nodata.wav"));
}

TEST_F(SoundDecodeTest, OnlyPcmIsAccepted) {
    std::string pcm = Tone16(50, 22050);
    for (int code : {0, 2, 3, 65534}) {
        Write("data/code.wav", Riff(Chunk("fmt ", FormatBody(code, 1, 22050, 16)) + Chunk("data", pcm)));
        ExpectRejected(Load("cobalt://data/code.wav"));
    }
    Write("data/notriff.wav", "RIFX" + MonoTone(10).substr(4));
    ExpectRejected(Load("cobalt://data/notriff.wav"));
    Write("data/notwave.wav", MonoTone(10).replace(8, 4, "AVI "));
    ExpectRejected(Load("cobalt://data/notwave.wav"));
}

TEST_F(SoundDecodeTest, DamagedSizesGiveNullInsteadOfHugeBlocksOrEndlessLoops) {
    std::string fmt = Chunk("fmt ", FormatBody(1, 1, 22050, 16));
    std::string pcm = Tone16(50, 22050);
    struct Case {
        const char* name;
        std::string bytes;
    };
    std::vector<Case> cases = {
        {"no channels", Riff(Chunk("fmt ", FormatBody(1, 0, 22050, 16)) + Chunk("data", pcm))},
        {"four-bit samples", Riff(Chunk("fmt ", FormatBody(1, 1, 22050, 4)) + Chunk("data", pcm))},
        {"zero-bit samples", Riff(Chunk("fmt ", FormatBody(1, 2, 22050, 0)) + Chunk("data", pcm))},
        {"negative data size", Riff(fmt + ChunkWithSize("data", -2, pcm))},
        {"data larger than the file", Riff(fmt + ChunkWithSize("data", 0x7FFFFFF0, pcm))},
        {"data one byte past the end", Riff(fmt + ChunkWithSize("data", 101, pcm))},
        {"skip backwards", Riff(fmt + ChunkWithSize("LIST", -8, "") + Chunk("data", pcm))},
        {"skip past the end", Riff(fmt + ChunkWithSize("LIST", 1000, "INFO") + Chunk("data", pcm))},
        {"format chunk larger than the file",
         Riff(ChunkWithSize("fmt ", 1 << 30, FormatBody(1, 1, 22050, 16)) + Chunk("data", pcm))},
        {"negative format chunk",
         Riff(ChunkWithSize("fmt ", -16, FormatBody(1, 1, 22050, 16)) + Chunk("data", pcm))},
    };
    int files = OpenFileCount();
    for (const Case& c : cases) {
        Write("data/bad.wav", c.bytes);
        SCOPED_TRACE(c.name);
        ExpectRejected(Load("cobalt://data/bad.wav"));
    }
    EXPECT_EQ(OpenFileCount(), files);
}

TEST_F(SoundDecodeTest, EveryTruncationIsRejectedAndClosesTheFile) {
    std::string whole = Riff(Chunk("fmt ", FormatBody(1, 2, 22050, 16) + Le16(0)) + Chunk("LIST", "INFOabc") +
                             Chunk("data", Tone16(40, 22050)));
    Write("data/whole.wav", whole);
    ASSERT_TRUE(Load("cobalt://data/whole.wav").ok);

    int files = OpenFileCount();
    for (size_t size = 0; size < whole.size(); ++size) {
        Write("data/cut.wav", whole.substr(0, size));
        Decoded d = Load("cobalt://data/cut.wav");
        EXPECT_FALSE(d.ok) << "cut at " << size;
    }
    EXPECT_EQ(OpenFileCount(), files);
}

TEST_F(SoundDecodeTest, RandomBytesAfterAValidHeaderNeverOverreach) {
    std::string header = "RIFF" + Le32(1000) + "WAVE" + "fmt ";
    std::mt19937 random(1234);
    int files = OpenFileCount();
    for (int round = 0; round < 300; ++round) {
        std::string bytes = header;
        size_t extra = random() % 96;
        for (size_t i = 0; i < extra; ++i) bytes += static_cast<char>(random() & 0xFF);
        // Keep the format code PCM now and then so the chunk walker gets exercised.
        if (round % 2 && bytes.size() >= 22) bytes.replace(20, 2, Le16(1));
        Write("data/noise.wav", bytes);
        Decoded d = Load("cobalt://data/noise.wav");
        if (d.ok) {
            EXPECT_GT(d.channels, 0);
            EXPECT_GT(d.bytesPerSample, 0);
            EXPECT_LE(d.bytes.size(), bytes.size());
        }
    }
    EXPECT_EQ(OpenFileCount(), files);
}

TEST_F(SoundDecodeTest, FieldReadersAreLittleEndianAndReportShortReads) {
    Write("fields.bin", std::string("\xff\xff\xfe\xff\xff\xff\x01\x02\x03\x04") + "data" + "ab");
    FILE* file = std::fopen("fields.bin", "rb");
    ASSERT_NE(file, nullptr);
    EXPECT_EQ(readShort(file), 65535);
    EXPECT_EQ(readInt(file), -2);
    EXPECT_EQ(readInt(file), 0x04030201);
    EXPECT_STREQ(readTag(file), "data");
    EXPECT_STREQ(readTag(file), ""); // only two bytes left
    EXPECT_EQ(readShort(file), -1);
    std::fclose(file);
}

TEST_F(SoundDecodeTest, OggVorbisDecodesToSixteenBitFrames) {
    std::filesystem::copy_file(AUDIO_TEST_DATA "/tone_mono_10000.ogg", "data/tone.ogg");
    Decoded d = Load("cobalt://data/tone.ogg");
    ASSERT_TRUE(d.ok);
    EXPECT_EQ(d.length, 10000);
    EXPECT_EQ(d.channels, 1);
    EXPECT_EQ(d.bytesPerSample, 2);
    EXPECT_EQ(d.hertz, 22050);
    EXPECT_GE(d.bytes.size(), 20000u);
    // The tone is audible, not silence.
    int peak = 0;
    for (size_t i = 0; i + 1 < d.bytes.size(); i += 2) {
        int v = static_cast<int16_t>(static_cast<uint8_t>(d.bytes[i]) | static_cast<uint8_t>(d.bytes[i + 1])
                                                                            << 8);
        peak = std::max(peak, std::abs(v));
    }
    EXPECT_GT(peak, 8000);

    std::filesystem::copy_file("data/tone.ogg", "data/TONE.OGG");
    EXPECT_TRUE(Load("cobalt://data/TONE.OGG").ok);
}

TEST_F(SoundDecodeTest, OggWithoutAudioIsAnEmptySound) {
    // The three header packets end the second page; cut there, the stream
    // opens and decodes no frame.
    const std::string whole = Read(AUDIO_TEST_DATA "/tone_mono_10000.ogg");
    const size_t page = whole.find("OggS", 4);
    ASSERT_NE(page, std::string::npos);
    const int segments = static_cast<unsigned char>(whole[page + 26]);
    size_t end = page + 27 + static_cast<size_t>(segments);
    for (int i = 0; i < segments; ++i) end += static_cast<unsigned char>(whole[page + 27 + i]);
    ASSERT_LT(end, whole.size());
    Write("data/empty.ogg", whole.substr(0, end));

    Decoded d = Load("cobalt://data/empty.ogg");
    EXPECT_TRUE(d.ok);
    EXPECT_EQ(d.length, 0);
    EXPECT_EQ(d.channels, 1);
    EXPECT_EQ(d.bytesPerSample, 2);
    EXPECT_EQ(d.hertz, 22050);
}

// stb_vorbis reads a few values past a codebook's table on this stream; the
// sanitizer build compiles the decoder, so a read past the reader's arena fails
// here. Whatever the damaged stream decodes to is a sound of its own format.
TEST_F(SoundDecodeTest, DamagedResidueIsDecodedInsideTheArena) {
    Write("data/residue.ogg", Read(AUDIO_TEST_DATA "/fuzz/ogg_residue_overread.ogg"));
    Decoded d = Load("cobalt://data/residue.ogg");
    if (d.ok) {
        EXPECT_GT(d.channels, 0);
        EXPECT_EQ(d.bytesPerSample, 2);
        EXPECT_GE(d.length, 0);
    }
}

TEST_F(SoundDecodeTest, BrokenOggFilesGiveNull) {
    std::string whole = Read(AUDIO_TEST_DATA "/tone_mono_10000.ogg");
    ASSERT_GT(whole.size(), 1000u);
    int files = OpenFileCount();
    for (size_t size : {size_t{0}, size_t{4}, size_t{27}, size_t{58}, size_t{100}, size_t{300}}) {
        Write("data/cut.ogg", whole.substr(0, size));
        ExpectRejected(Load("cobalt://data/cut.ogg"));
    }
    std::mt19937 random(99);
    std::string noise;
    for (int i = 0; i < 5000; ++i) noise += static_cast<char>(random() & 0xFF);
    Write("data/noise.ogg", noise);
    ExpectRejected(Load("cobalt://data/noise.ogg"));
    Write("data/wave.ogg", MonoTone(100));
    ExpectRejected(Load("cobalt://data/wave.ogg"));
    EXPECT_EQ(OpenFileCount(), files);
}

} // namespace
