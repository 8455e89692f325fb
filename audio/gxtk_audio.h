// gxtkAudio: 33 OpenAL channels playing whole decoded samples, with deferred
// buffer deletion; gxtkSample, bb_audio_Sound and the bb_audio_* functions.
#pragma once

#include "runtime/runtime.h"

#include <memory>
#include <vector>

class gxtkSample : public gxtkObject {
  public:
    unsigned int buffer = 0; // OpenAL buffer name, 0 = no data

    gxtkSample() = default;
    explicit gxtkSample(unsigned int bufferName) : buffer(bufferName) {}
    ~gxtkSample() override;
    gxtkSample(const gxtkSample&) = delete;
    gxtkSample& operator=(const gxtkSample&) = delete;

    void SetBuffer(unsigned int bufferName) { buffer = bufferName; }
    virtual int Discard();
};

using gxtkSampleRef = std::shared_ptr<gxtkSample>;

struct gxtkChannel {
    unsigned int source = 0;
    gxtkSampleRef sample;
    int flags = 0;
    int state = 0; // 0 stopped, 1 playing, 2 paused by the application

    unsigned int AL_Source();
};

class gxtkAudio : public gxtkObject {
  public:
    static constexpr int kChannelCount = 33;
    static constexpr int kMusicChannel = 32;

    gxtkChannel channels[kChannelCount];

    gxtkAudio();

    virtual gxtkSample* LoadSample__UNSAFE__(gxtkSample* sample, const String& path);
    virtual gxtkSampleRef LoadSample(const String& path);
    virtual int PlaySample(gxtkSampleRef sample, int channel, int flags);
    virtual int StopChannel(int channel);
    virtual int PauseChannel(int channel);
    virtual int ResumeChannel(int channel);
    virtual int ChannelState(int channel);
    virtual int SetVolume(int channel, float volume);
    virtual int SetPan(int channel, float pan);
    virtual int SetRate(int channel, float rate);
    virtual int PlayMusic(const String& path, int flags);
    virtual int StopMusic();
    virtual int PauseMusic();
    virtual int ResumeMusic();
    virtual int MusicState();
    virtual int SetMusicVolume(float volume);
    // The gain of everything the device plays, sounds already playing too
    // (the listener's gain): 1 = as each channel says, 0 = silence.
    virtual int SetMasterVolume(float volume);

    void OnSuspend();
    void OnResume();
    // The channel record, or null for a number outside 0..32.
    gxtkChannel* Channel(int channel);

    // OpenAL buffers made by LoadSample and not yet deleted (for leak checks).
    static int LiveBuffers();

    // OpenAL buffer names waiting to be deleted once no source plays them. Never
    // destroyed, so samples released during exit can still queue their buffers.
    static std::vector<unsigned int>& discarded;
};

void FlushDiscarded(gxtkAudio* audio);

class bb_audio_Sound : public Object {
  public:
    gxtkSampleRef m_sample;
};
using bb_audio_SoundRef = std::shared_ptr<bb_audio_Sound>;

extern gxtkAudio* bb_audio_device;

int bb_audio_SetAudioDevice(gxtkAudio* device);
bb_audio_SoundRef bb_audio_LoadSound(const String& path);
int bb_audio_PlaySound(bb_audio_Sound* sound, int channel, int flags);
int bb_audio_StopChannel(int channel);
int bb_audio_SetChannelVolume(int channel, float volume);
int bb_audio_SetChannelPan(int channel, float pan);
int bb_audio_SetChannelRate(int channel, float rate);
