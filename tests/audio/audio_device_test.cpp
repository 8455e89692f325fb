// The audio device against OpenAL Soft's null backend: channel states, looping,
// source settings, suspend and resume, deferred buffer deletion and music.
#include "audio/gxtk_audio.h"

#include "sound_files.h"

#include <AL/al.h>
#include <AL/alc.h>

#include <chrono>
#include <climits>
#include <cstdlib>
#include <thread>

namespace {

using namespace wav;

class AudioDeviceTest : public SoundFolderTest {
  protected:
    ALCdevice* device = nullptr;
    ALCcontext* context = nullptr;
    std::unique_ptr<gxtkAudio> audio;

    void SetUp() override {
        SoundFolderTest::SetUp();
        setenv("ALSOFT_DRIVERS", "null", 1);
        device = alcOpenDevice(nullptr);
        ASSERT_NE(device, nullptr);
        context = alcCreateContext(device, nullptr);
        ASSERT_NE(context, nullptr);
        alcMakeContextCurrent(context);
        audio = std::make_unique<gxtkAudio>();
        bb_audio_SetAudioDevice(audio.get());

        Write("data/short.wav", MonoTone(1100));     // 50 ms
        Write("data/long.wav", MonoTone(22050 * 5)); // 5 s
    }

    void TearDown() override {
        bb_audio_SetAudioDevice(nullptr);
        audio.reset();
        // Names belong to this device; the next test opens another.
        gxtkAudio::discarded.clear();
        alcMakeContextCurrent(nullptr);
        if (context) alcDestroyContext(context);
        if (device) alcCloseDevice(device);
        SoundFolderTest::TearDown();
    }

    ALint SourceInt(int channel, ALenum what) {
        ALint value = -1;
        alGetSourcei(audio->channels[channel].source, what, &value);
        return value;
    }

    // The null backend plays in real time: wait for a source to finish.
    void WaitUntilStopped(int channel) {
        for (int i = 0; i < 500 && SourceInt(channel, AL_SOURCE_STATE) != AL_STOPPED; ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        ASSERT_EQ(SourceInt(channel, AL_SOURCE_STATE), AL_STOPPED);
    }
};

TEST_F(AudioDeviceTest, ChannelStateFollowsTheSound) {
    EXPECT_EQ(audio->ChannelState(7), 0);
    EXPECT_EQ(audio->channels[7].source, 0u); // asking creates no source

    ALint model = -1;
    model = alGetInteger(AL_DISTANCE_MODEL);
    EXPECT_EQ(model, AL_NONE);

    gxtkSampleRef sample = audio->LoadSample("cobalt://data/short.wav");
    ASSERT_TRUE(sample);
    ASSERT_NE(sample->buffer, 0u);
    audio->PlaySample(sample, 7, 0);
    EXPECT_EQ(audio->ChannelState(7), 1);
    EXPECT_EQ(SourceInt(7, AL_LOOPING), 0);
    EXPECT_EQ(audio->channels[7].sample, sample);

    WaitUntilStopped(7);
    EXPECT_EQ(audio->channels[7].state, 1); // nobody has asked yet
    EXPECT_EQ(audio->ChannelState(7), 0);
    EXPECT_EQ(audio->channels[7].state, 0);
    EXPECT_FALSE(audio->channels[7].sample); // a stopped channel lets go of its sample

    // Pausing a sound that already ended leaves the channel stopped for good.
    ALuint source = audio->channels[7].source;
    audio->PlaySample(sample, 7, 0);
    EXPECT_EQ(audio->channels[7].source, source); // one source per channel, reused
    WaitUntilStopped(7);
    audio->PauseChannel(7);
    EXPECT_EQ(audio->channels[7].state, 0);
    audio->ResumeChannel(7);
    EXPECT_EQ(audio->ChannelState(7), 0);
    EXPECT_EQ(SourceInt(7, AL_SOURCE_STATE), AL_STOPPED);
}

TEST_F(AudioDeviceTest, AnyNonzeroFlagLoops) {
    gxtkSampleRef sample = audio->LoadSample("cobalt://data/short.wav");
    ASSERT_TRUE(sample);
    audio->PlaySample(sample, 0, 2);
    audio->PlaySample(sample, 1, 1);
    audio->PlaySample(sample, 2, 0);
    EXPECT_EQ(SourceInt(0, AL_LOOPING), 1);
    EXPECT_EQ(SourceInt(1, AL_LOOPING), 1);
    EXPECT_EQ(SourceInt(2, AL_LOOPING), 0);
    WaitUntilStopped(2);
    // Well past its length the looping sound still plays.
    EXPECT_EQ(audio->ChannelState(0), 1);
    EXPECT_EQ(SourceInt(0, AL_SOURCE_STATE), AL_PLAYING);
    audio->StopChannel(0);
    EXPECT_EQ(audio->ChannelState(0), 0);
    EXPECT_EQ(SourceInt(0, AL_SOURCE_STATE), AL_STOPPED);
}

TEST_F(AudioDeviceTest, SettingsOnAnIdleChannelApplyToItsNextSound) {
    audio->SetVolume(5, 0.5f);
    audio->SetPan(5, -0.75f);
    audio->SetRate(5, 1.5f);
    ASSERT_NE(audio->channels[5].source, 0u);
    EXPECT_EQ(audio->ChannelState(5), 0);

    gxtkSampleRef sample = audio->LoadSample("cobalt://data/long.wav");
    ASSERT_TRUE(sample);
    audio->PlaySample(sample, 5, 0);
    ALfloat gain = 0, pitch = 0, x = 0, y = 1, z = 1;
    alGetSourcef(audio->channels[5].source, AL_GAIN, &gain);
    alGetSourcef(audio->channels[5].source, AL_PITCH, &pitch);
    alGetSource3f(audio->channels[5].source, AL_POSITION, &x, &y, &z);
    EXPECT_FLOAT_EQ(gain, 0.5f);
    EXPECT_FLOAT_EQ(pitch, 1.5f);
    EXPECT_FLOAT_EQ(x, -0.75f);
    EXPECT_EQ(y, 0.0f);
    EXPECT_EQ(z, 0.0f);

    audio->SetMusicVolume(0.25f);
    alGetSourcef(audio->channels[32].source, AL_GAIN, &gain);
    EXPECT_FLOAT_EQ(gain, 0.25f);
}

TEST_F(AudioDeviceTest, SuspendKeepsApplicationPausesAndResumesTheRest) {
    gxtkSampleRef sample = audio->LoadSample("cobalt://data/long.wav");
    ASSERT_TRUE(sample);
    audio->PlaySample(sample, 3, 0);
    audio->PlaySample(sample, 4, 0);
    audio->PauseChannel(4);
    EXPECT_EQ(audio->ChannelState(4), 2);

    audio->OnSuspend();
    EXPECT_EQ(SourceInt(3, AL_SOURCE_STATE), AL_PAUSED);
    EXPECT_EQ(audio->ChannelState(3), 1);
    EXPECT_EQ(audio->ChannelState(4), 2);

    audio->OnResume();
    EXPECT_EQ(SourceInt(3, AL_SOURCE_STATE), AL_PLAYING);
    EXPECT_EQ(SourceInt(4, AL_SOURCE_STATE), AL_PAUSED);
    EXPECT_EQ(audio->ChannelState(3), 1);
    EXPECT_EQ(audio->ChannelState(4), 2);

    audio->ResumeChannel(4);
    EXPECT_EQ(SourceInt(4, AL_SOURCE_STATE), AL_PLAYING);
    EXPECT_EQ(audio->ChannelState(4), 1);
}

TEST_F(AudioDeviceTest, DiscardedBufferOutlivesItsSound) {
    int live = gxtkAudio::LiveBuffers();
    gxtkSampleRef sample = audio->LoadSample("cobalt://data/short.wav");
    ASSERT_TRUE(sample);
    EXPECT_EQ(gxtkAudio::LiveBuffers(), live + 1);
    ALuint buffer = sample->buffer;
    audio->PlaySample(sample, 1, 0);
    sample->Discard();
    EXPECT_EQ(sample->buffer, 0u);
    ASSERT_EQ(gxtkAudio::discarded.size(), 1u);

    FlushDiscarded(audio.get()); // still playing: kept for later
    EXPECT_TRUE(alIsBuffer(buffer));
    EXPECT_EQ(gxtkAudio::discarded.size(), 1u);

    WaitUntilStopped(1);
    FlushDiscarded(audio.get());
    EXPECT_FALSE(alIsBuffer(buffer));
    EXPECT_TRUE(gxtkAudio::discarded.empty());
    EXPECT_EQ(gxtkAudio::LiveBuffers(), live);
}

TEST_F(AudioDeviceTest, ReleasedSamplesFreeTheirBuffers) {
    int live = gxtkAudio::LiveBuffers();
    gxtkSampleRef looping = audio->LoadSample("cobalt://data/short.wav");
    gxtkSampleRef paused = audio->LoadSample("cobalt://data/long.wav");
    ASSERT_TRUE(looping && paused);
    ALuint loopingBuffer = looping->buffer, pausedBuffer = paused->buffer;
    audio->PlaySample(looping, 9, 1);
    audio->PlaySample(paused, 10, 0);
    audio->PauseChannel(10);

    // The channels keep both samples alive while they are in use.
    std::weak_ptr<gxtkSample> watch = looping;
    looping.reset();
    paused.reset();
    EXPECT_FALSE(watch.expired());
    EXPECT_TRUE(gxtkAudio::discarded.empty());

    // Stopped by the application, a channel still lets go of its buffer.
    audio->StopChannel(9);
    EXPECT_TRUE(watch.expired());
    EXPECT_FALSE(audio->LoadSample("cobalt://data/missing.wav"));
    EXPECT_FALSE(alIsBuffer(loopingBuffer));
    EXPECT_TRUE(alIsBuffer(pausedBuffer));

    // A paused sound keeps its buffer until it is stopped.
    audio->StopChannel(10);
    FlushDiscarded(audio.get());
    EXPECT_FALSE(alIsBuffer(pausedBuffer));
    EXPECT_EQ(gxtkAudio::LiveBuffers(), live);
}

TEST_F(AudioDeviceTest, AnEarlierErrorDoesNotKeepADeletedBufferQueued) {
    int live = gxtkAudio::LiveBuffers();
    gxtkSampleRef sample = audio->LoadSample("cobalt://data/short.wav");
    ASSERT_TRUE(sample);
    ALuint buffer = sample->buffer;
    sample.reset();
    alSourcePlay(0xDEAD); // leaves an error pending
    FlushDiscarded(audio.get());
    EXPECT_FALSE(alIsBuffer(buffer));
    EXPECT_TRUE(gxtkAudio::discarded.empty());
    EXPECT_EQ(gxtkAudio::LiveBuffers(), live);
}

TEST_F(AudioDeviceTest, BufferFormatsFollowTheFile) {
    Write("data/stereo8.wav",
          Riff(Chunk("fmt ", FormatBody(1, 2, 11025, 8)) + Chunk("data", std::string(400, 'x'))));
    Write("data/three.wav",
          Riff(Chunk("fmt ", FormatBody(1, 3, 11025, 16)) + Chunk("data", std::string(600, 'x'))));

    gxtkSampleRef stereo = audio->LoadSample("cobalt://data/stereo8.wav");
    ASSERT_TRUE(stereo);
    ALint channels = 0, bits = 0, frequency = 0, size = 0;
    alGetBufferi(stereo->buffer, AL_CHANNELS, &channels);
    alGetBufferi(stereo->buffer, AL_BITS, &bits);
    alGetBufferi(stereo->buffer, AL_FREQUENCY, &frequency);
    alGetBufferi(stereo->buffer, AL_SIZE, &size);
    EXPECT_EQ(channels, 2);
    EXPECT_EQ(bits, 8);
    EXPECT_EQ(frequency, 11025);
    EXPECT_EQ(size, 400);

    // Three channels have no format: the sample exists but stays silent.
    gxtkSampleRef three = audio->LoadSample("cobalt://data/three.wav");
    ASSERT_TRUE(three);
    alGetBufferi(three->buffer, AL_SIZE, &size);
    EXPECT_EQ(size, 0);
    audio->PlaySample(three, 0, 0);
    WaitUntilStopped(0);
    EXPECT_EQ(audio->ChannelState(0), 0);
}

TEST_F(AudioDeviceTest, MusicPlaysOnTheLastChannel) {
    EXPECT_EQ(audio->PlayMusic("cobalt://data/long.wav", 1), 0);
    EXPECT_EQ(audio->MusicState(), 1);
    EXPECT_EQ(SourceInt(32, AL_LOOPING), 1);
    audio->PauseMusic();
    EXPECT_EQ(audio->MusicState(), 2);
    audio->ResumeMusic();
    EXPECT_EQ(audio->MusicState(), 1);

    // A missing file stops the old music and plays nothing.
    EXPECT_EQ(audio->PlayMusic("cobalt://data/missing.ogg", 0), -1);
    EXPECT_EQ(audio->MusicState(), 0);
    EXPECT_EQ(SourceInt(32, AL_SOURCE_STATE), AL_STOPPED);
}

TEST_F(AudioDeviceTest, SoundsThroughTheFrameworkFunctions) {
    bb_audio_SoundRef sound = bb_audio_LoadSound("long.wav");
    ASSERT_TRUE(sound);
    ASSERT_TRUE(sound->m_sample);
    EXPECT_FALSE(bb_audio_LoadSound("missing.wav"));
    EXPECT_FALSE(bb_audio_LoadSound("long.mp3"));

    bb_audio_SetChannelVolume(2, 0.3f);
    bb_audio_SetChannelPan(2, 1);
    bb_audio_SetChannelRate(2, 0.5f);
    bb_audio_PlaySound(sound.get(), 2, 0);
    EXPECT_EQ(audio->ChannelState(2), 1);
    ALfloat gain = 0;
    alGetSourcef(audio->channels[2].source, AL_GAIN, &gain);
    EXPECT_FLOAT_EQ(gain, 0.3f);
    bb_audio_StopChannel(2);
    EXPECT_EQ(audio->ChannelState(2), 0);

    bb_audio_Sound empty;
    bb_audio_PlaySound(&empty, 3, 0); // a sound without a sample plays nothing
    EXPECT_EQ(audio->ChannelState(3), 0);
}

TEST_F(AudioDeviceTest, ChannelNumbersOutsideTheTableDoNothing) {
    gxtkSampleRef sample = audio->LoadSample("cobalt://data/long.wav");
    ASSERT_TRUE(sample);
    for (int channel : {-1, 33, 1000, INT_MIN, INT_MAX}) {
        SCOPED_TRACE(channel);
        audio->SetVolume(channel, 0.5f);
        audio->SetPan(channel, 1);
        audio->SetRate(channel, 2);
        audio->PlaySample(sample, channel, 1);
        EXPECT_EQ(audio->ChannelState(channel), 0);
        audio->PauseChannel(channel);
        audio->ResumeChannel(channel);
        audio->StopChannel(channel);
        EXPECT_EQ(audio->ChannelState(channel), 0);
    }
    // Nothing started and no source made anywhere.
    for (const gxtkChannel& channel : audio->channels) {
        EXPECT_EQ(channel.source, 0u);
        EXPECT_EQ(channel.state, 0);
    }
}

TEST(AudioWithoutDevice, CarriesOnSilently) {
    ASSERT_EQ(alcGetCurrentContext(), nullptr);
    gxtkAudio audio;
    SoundFolderTest::Write("/tmp/skitterbat-silent.wav", MonoTone(100));
    gxtkSampleRef sample = audio.LoadSample("/tmp/skitterbat-silent.wav");
    std::remove("/tmp/skitterbat-silent.wav");
    ASSERT_TRUE(sample);
    EXPECT_EQ(sample->buffer, 0u);
    audio.PlaySample(sample, 0, 0);
    audio.SetVolume(0, 0.5f);
    EXPECT_EQ(audio.ChannelState(0), 0);
    EXPECT_EQ(audio.PlayMusic("/tmp/skitterbat-missing.wav", 0), -1);
}

} // namespace
