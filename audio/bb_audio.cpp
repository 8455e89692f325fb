// The bb_audio_* functions and bb_audio_Sound: the application's view of the
// current audio device.
#include "audio/gxtk_audio.h"

#include "runtime/datapath.h"

gxtkAudio* bb_audio_device = nullptr;

int bb_audio_SetAudioDevice(gxtkAudio* device) {
    bb_audio_device = device;
    return 0;
}

bb_audio_SoundRef bb_audio_LoadSound(const String& path) {
    if (!bb_audio_device) return nullptr;
    gxtkSampleRef sample = bb_audio_device->LoadSample(bb_data_FixDataPath(path));
    if (!sample) return nullptr;
    auto sound = std::make_shared<bb_audio_Sound>();
    sound->m_sample = std::move(sample);
    return sound;
}

int bb_audio_PlaySound(bb_audio_Sound* sound, int channel, int flags) {
    if (bb_audio_device && sound && sound->m_sample)
        bb_audio_device->PlaySample(sound->m_sample, channel, flags);
    return 0;
}

int bb_audio_StopChannel(int channel) {
    return bb_audio_device ? bb_audio_device->StopChannel(channel) : 0;
}

int bb_audio_SetChannelVolume(int channel, float volume) {
    return bb_audio_device ? bb_audio_device->SetVolume(channel, volume) : 0;
}

int bb_audio_SetChannelPan(int channel, float pan) {
    return bb_audio_device ? bb_audio_device->SetPan(channel, pan) : 0;
}

int bb_audio_SetChannelRate(int channel, float rate) {
    return bb_audio_device ? bb_audio_device->SetRate(channel, rate) : 0;
}
