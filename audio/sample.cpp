// gxtkSample, the discard queue and its flush: buffers are deleted only once
// no source plays them.
#include "audio/gxtk_audio.h"

#include "audio/buffer_count.h"

#include <AL/al.h>

std::vector<unsigned int>& gxtkAudio::discarded = *new std::vector<unsigned int>;

gxtkSample::~gxtkSample() {
    gxtkSample::Discard();
}

int gxtkSample::Discard() {
    if (buffer != 0) {
        gxtkAudio::discarded.push_back(buffer);
        buffer = 0;
    }
    return 0;
}

void FlushDiscarded(gxtkAudio* audio) {
    if (gxtkAudio::discarded.empty()) return;

    // Any stopped source lets go of its buffer, whatever the channel's recorded
    // state: a channel stopped by the application still holds its buffer.
    for (gxtkChannel& channel : audio->channels) {
        if (channel.source == 0) continue;
        ALint state = 0;
        alGetSourcei(channel.source, AL_SOURCE_STATE, &state);
        if (state == AL_STOPPED) alSourcei(channel.source, AL_BUFFER, 0);
    }

    size_t kept = 0;
    for (unsigned int name : gxtkAudio::discarded) {
        alGetError(); // an earlier call's error must not be read as ours
        alDeleteBuffers(1, &name);
        if (alGetError() == AL_NO_ERROR) {
            CountBufferDeleted();
        } else if (alIsBuffer(name)) {
            gxtkAudio::discarded[kept++] = name; // still playing somewhere: retry later
        }
    }
    gxtkAudio::discarded.resize(kept);
}
