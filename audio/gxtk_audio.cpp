// gxtkAudio: 33 channels, one lazily made OpenAL source each; samples are
// whole decoded sounds in one buffer; channel 32 is kept for music.
#include "audio/gxtk_audio.h"

#include "audio/buffer_count.h"
#include "audio/sound_decode.h"

#include <AL/al.h>

namespace {

int liveBuffers = 0;

// A source that cannot be asked (no context) counts as stopped.
ALint SourceState(ALuint source) {
    if (source == 0) return AL_STOPPED;
    ALint state = AL_STOPPED;
    alGetSourcei(source, AL_SOURCE_STATE, &state);
    return state;
}

ALenum BufferFormat(int channels, int bytesPerSample) {
    if (bytesPerSample == 1 && channels == 1) return AL_FORMAT_MONO8;
    if (bytesPerSample == 1 && channels == 2) return AL_FORMAT_STEREO8;
    if (bytesPerSample == 2 && channels == 1) return AL_FORMAT_MONO16;
    if (bytesPerSample == 2 && channels == 2) return AL_FORMAT_STEREO16;
    return 0;
}

// Once a channel is stopped its sample need not outlive the application's hold on it.
void MarkStopped(gxtkChannel& channel) {
    channel.state = 0;
    channel.sample.reset();
}

} // namespace

void CountBufferCreated() {
    ++liveBuffers;
}
void CountBufferDeleted() {
    --liveBuffers;
}
int gxtkAudio::LiveBuffers() {
    return liveBuffers;
}

unsigned int gxtkChannel::AL_Source() {
    if (source == 0) alGenSources(1, &source);
    return source;
}

gxtkAudio::gxtkAudio() {
    alDistanceModel(AL_NONE);
}

gxtkSample* gxtkAudio::LoadSample__UNSAFE__(gxtkSample* sample, const String& path) {
    int length = 0, channelCount = 0, bytesPerSample = 0, hertz = 0;
    unsigned char* data = loadSound(path, &length, &channelCount, &bytesPerSample, &hertz);
    if (!data) return nullptr;

    ALuint buffer = 0;
    alGenBuffers(1, &buffer);
    if (buffer != 0) {
        CountBufferCreated();
        ALenum format = BufferFormat(channelCount, bytesPerSample);
        alBufferData(buffer, format, data, bytesPerSample * channelCount * length, hertz);
    }
    unloadSound(data);
    sample->SetBuffer(buffer);
    return sample;
}

gxtkSampleRef gxtkAudio::LoadSample(const String& path) {
    FlushDiscarded(this);
    auto sample = std::make_shared<gxtkSample>();
    if (!LoadSample__UNSAFE__(sample.get(), path)) return nullptr;
    return sample;
}

gxtkChannel* gxtkAudio::Channel(int channel) {
    // Callers pass any int; one outside the table must not reach memory past it.
    if (channel < 0 || channel >= kChannelCount) return nullptr;
    return &channels[channel];
}

int gxtkAudio::PlaySample(gxtkSampleRef sample, int channel, int flags) {
    gxtkChannel* found = Channel(channel);
    if (!sample || !found) return 0;
    FlushDiscarded(this);
    gxtkChannel& chan = *found;
    ALuint source = chan.AL_Source();
    alSourceStop(source);
    alSourcei(source, AL_BUFFER, static_cast<ALint>(sample->buffer));
    alSourcei(source, AL_LOOPING, flags ? 1 : 0);
    alSourcePlay(source);
    chan.sample = std::move(sample);
    chan.flags = flags;
    chan.state = 1;
    return 0;
}

int gxtkAudio::StopChannel(int channel) {
    gxtkChannel* chan = Channel(channel);
    if (chan && chan->state != 0) {
        alSourceStop(chan->source);
        MarkStopped(*chan);
    }
    return 0;
}

int gxtkAudio::PauseChannel(int channel) {
    gxtkChannel* chan = Channel(channel);
    if (!chan || chan->state != 1) return 0;
    if (SourceState(chan->source) == AL_STOPPED) {
        MarkStopped(*chan);
    } else {
        alSourcePause(chan->source);
        chan->state = 2;
    }
    return 0;
}

int gxtkAudio::ResumeChannel(int channel) {
    gxtkChannel* chan = Channel(channel);
    if (!chan || chan->state != 2) return 0;
    alSourcePlay(chan->source);
    chan->state = 1;
    return 0;
}

int gxtkAudio::ChannelState(int channel) {
    gxtkChannel* chan = Channel(channel);
    if (!chan) return 0;
    if (chan->state == 1 && SourceState(chan->source) == AL_STOPPED) MarkStopped(*chan);
    return chan->state;
}

int gxtkAudio::SetVolume(int channel, float volume) {
    if (gxtkChannel* chan = Channel(channel)) alSourcef(chan->AL_Source(), AL_GAIN, volume);
    return 0;
}

int gxtkAudio::SetPan(int channel, float pan) {
    if (gxtkChannel* chan = Channel(channel)) alSource3f(chan->AL_Source(), AL_POSITION, pan, 0, 0);
    return 0;
}

int gxtkAudio::SetRate(int channel, float rate) {
    if (gxtkChannel* chan = Channel(channel)) alSourcef(chan->AL_Source(), AL_PITCH, rate);
    return 0;
}

int gxtkAudio::PlayMusic(const String& path, int flags) {
    StopMusic();
    gxtkSampleRef sample = LoadSample(path);
    if (!sample) return -1;
    PlaySample(std::move(sample), kMusicChannel, flags);
    return 0;
}

int gxtkAudio::StopMusic() {
    return StopChannel(kMusicChannel);
}
int gxtkAudio::PauseMusic() {
    return PauseChannel(kMusicChannel);
}
int gxtkAudio::ResumeMusic() {
    return ResumeChannel(kMusicChannel);
}
int gxtkAudio::MusicState() {
    return ChannelState(kMusicChannel);
}
int gxtkAudio::SetMusicVolume(float volume) {
    return SetVolume(kMusicChannel, volume);
}
int gxtkAudio::SetMasterVolume(float volume) {
    alListenerf(AL_GAIN, volume);
    return 0;
}

void gxtkAudio::OnSuspend() {
    for (gxtkChannel& chan : channels) {
        if (chan.state == 1 && SourceState(chan.source) == AL_PLAYING) alSourcePause(chan.source);
    }
}

void gxtkAudio::OnResume() {
    for (gxtkChannel& chan : channels) {
        if (chan.state == 1 && SourceState(chan.source) == AL_PAUSED) alSourcePlay(chan.source);
    }
}
