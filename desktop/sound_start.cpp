// SoundStart: alcOpenDevice, alcCreateContext and alcMakeContextCurrent on a
// thread of their own. The current context is the process's, so the main
// thread plays through it once Finish has returned.
#include "desktop/sound_start.h"

#include <AL/al.h>
#include <AL/alc.h>

SoundStart::~SoundStart() {
    if (opener_.joinable()) opener_.join();
}

void SoundStart::Begin() {
    opener_ = std::thread([this] { Open(); });
}

void SoundStart::Open() {
    device = alcOpenDevice(nullptr);
    if (!device) {
        failure_ = "alcOpenDevice failed";
        return;
    }
    context = alcCreateContext(device, nullptr);
    if (!context)
        failure_ = "alcCreateContext failed";
    else if (!alcMakeContextCurrent(context))
        failure_ = "alcMakeContextCurrent failed";
}

const char* SoundStart::Finish() {
    if (opener_.joinable()) opener_.join();
    return failure_;
}

void SoundStart::Close() {
    Finish();
    if (context) {
        alcMakeContextCurrent(nullptr);
        alcDestroyContext(context);
        context = nullptr;
    }
    if (device) alcCloseDevice(device);
    device = nullptr;
}
