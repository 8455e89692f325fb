// A played sample reaches the speakers: OpenAL Soft's wave-file backend records
// the mixed output, which must be silent before the play call and carry the
// sound after it. Its own program, so the backend is chosen before OpenAL
// first reads its configuration.
#include "audio/gxtk_audio.h"

#include "sound_files.h"

#include <AL/al.h>
#include <AL/alc.h>

#include <chrono>
#include <cstdlib>
#include <thread>

namespace {

using namespace wav;

// Offset of the first byte after the "data" chunk header, or npos.
size_t DataStart(const std::string& file) {
    if (file.size() < 12 || file.compare(0, 4, "RIFF") != 0 || file.compare(8, 4, "WAVE") != 0)
        return std::string::npos;
    size_t at = 12;
    while (at + 8 <= file.size()) {
        uint32_t size = static_cast<uint8_t>(file[at + 4]) | static_cast<uint8_t>(file[at + 5]) << 8 |
                        static_cast<uint8_t>(file[at + 6]) << 16 |
                        static_cast<uint32_t>(static_cast<uint8_t>(file[at + 7])) << 24;
        if (file.compare(at, 4, "data") == 0) return at + 8;
        at += 8 + size + (size & 1);
    }
    return std::string::npos;
}

bool AllZero(const std::string& bytes, size_t from, size_t to) {
    for (size_t i = from; i < to; ++i)
        if (bytes[i] != 0) return false;
    return true;
}

using WaveOutputTest = SoundFolderTest;

TEST_F(WaveOutputTest, PlayedSampleReachesTheOutput) {
    std::string out = (dir_ / "out.wav").string();
    Write("alsoft.conf", "[general]\ndrivers=wave\nsample-type=float32\n[wave]\nfile=" + out + "\n");
    setenv("ALSOFT_CONF", (dir_ / "alsoft.conf").c_str(), 1);
    unsetenv("ALSOFT_DRIVERS");

    ALCdevice* device = alcOpenDevice(nullptr);
    ASSERT_NE(device, nullptr);
    ALCcontext* context = alcCreateContext(device, nullptr);
    ASSERT_NE(context, nullptr);
    alcMakeContextCurrent(context);

    size_t silentUpTo = 0;
    {
        gxtkAudio audio;
        Write("data/tone.wav", MonoTone(22050 / 5, 22050));
        gxtkSampleRef sample = audio.LoadSample("cobalt://data/tone.wav");
        ASSERT_TRUE(sample);

        // Let some silence reach the file first; what is on disk now was mixed before the play call.
        std::this_thread::sleep_for(std::chrono::milliseconds(200));
        silentUpTo = std::filesystem::file_size(out);
        audio.PlaySample(sample, 0, 0);
        for (int i = 0; i < 500 && audio.ChannelState(0) != 0; ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        EXPECT_EQ(audio.ChannelState(0), 0);
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    gxtkAudio::discarded.clear();
    alcMakeContextCurrent(nullptr);
    alcDestroyContext(context);
    alcCloseDevice(device);

    std::string recorded = Read(out);
    size_t data = DataStart(recorded);
    ASSERT_NE(data, std::string::npos);
    ASSERT_GT(silentUpTo, data);
    ASSERT_GT(recorded.size(), silentUpTo);
    EXPECT_TRUE(AllZero(recorded, data, silentUpTo));
    EXPECT_FALSE(AllZero(recorded, silentUpTo, recorded.size()));
}

} // namespace
