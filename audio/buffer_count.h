// The count of live OpenAL buffers behind gxtkAudio::LiveBuffers.
#pragma once

void CountBufferCreated();
void CountBufferDeleted();
