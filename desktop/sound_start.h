// Opening the OpenAL device and context on a thread of its own, so that it
// overlaps the window's creation instead of following it. The entry point
// takes the outcome up afterwards and reports it as it always has.
#pragma once

#include <AL/alc.h>

#include <thread>

class SoundStart {
  public:
    SoundStart() = default;
    ~SoundStart();
    SoundStart(const SoundStart&) = delete;
    SoundStart& operator=(const SoundStart&) = delete;

    // Starts opening the default device, its context and making it current.
    void Begin();
    // Waits until the opening is over; returns the failure line to report,
    // or null when sound works.
    const char* Finish();
    // Releases the context and the device, whatever of them was opened.
    void Close();

    ALCdevice* device = nullptr;
    ALCcontext* context = nullptr;

  private:
    void Open();

    std::thread opener_;
    const char* failure_ = nullptr;
};
