// A platform without a window: a manual clock, a settable window size, mouse
// and joystick, and counters of what the host asked of it. Tests, the soak run
// and the benchmarks drive the framework through it.
#pragma once

#include "runtime/platform.h"

#include <functional>
#include <set>
#include <string>
#include <vector>

class HeadlessPlatform : public gxtkPlatform {
  public:
    double now = 0;
    bool opened = true;
    bool iconified = false;
    bool active = true;
    int width = 640;
    int height = 480;
    // Framebuffer pixels per window unit, 2 for a high-density screen.
    int framebufferScale = 1;
    int mouseX = 0;
    int mouseY = 0;
    std::vector<float> axes;
    std::vector<unsigned char> buttons;

    int polls = 0;
    int waits = 0;
    int swaps = 0;
    int stateSaves = 0;
    // Updates that asked for the screen to stay on.
    int screenKeptOn = 0;
    double sleptSeconds = 0;

    // Run inside PollEvents/WaitEvents, as window callbacks would be.
    std::function<void()> onPoll;
    std::function<void()> onWait;
    // Run where a real window would present the frame.
    std::function<void()> onSwap;
    // Sleeping advances the clock by the time asked unless a test says otherwise.
    bool sleepAdvancesClock = true;
    // Data files still on their way, as a page that fetches art on demand has them.
    std::set<std::string> pendingData;
    // As a page on a slow link: part of the data arrives while the game runs,
    // counted by dataArrivals, and the sound effects are of another format.
    bool dataArrivesLater = false;
    unsigned dataArrivals = 0;
    std::string soundExtension = "wav";
    // What the game last said of the data that arrives while it runs.
    int artLevelShown = 0;
    bool lateDataWaiting = false;

    // The files arrive (or are given up): the game sees them from its next look.
    void Arrive(const std::set<std::string>& names) {
        for (const std::string& name : names) pendingData.erase(name);
        ++dataArrivals;
    }

    double Time() override { return now; }
    void Sleep(double seconds) override {
        sleptSeconds += seconds;
        if (sleepAdvancesClock && seconds > 0) now += seconds;
    }
    void PollEvents() override {
        ++polls;
        if (onPoll) onPoll();
    }
    void WaitEvents() override {
        ++waits;
        if (onWait) onWait();
    }
    bool WindowOpened() override { return opened; }
    bool WindowIconified() override { return iconified; }
    bool WindowActive() override { return active; }
    void WindowSize(int* w, int* h) override {
        *w = width;
        *h = height;
    }
    void FramebufferSize(int* w, int* h) override {
        *w = width * framebufferScale;
        *h = height * framebufferScale;
    }
    void SwapBuffers() override {
        ++swaps;
        if (onSwap) onSwap();
    }
    void MousePosition(int* x, int* y) override {
        *x = mouseX;
        *y = mouseY;
    }
    const float* JoystickAxes(int* count) override {
        *count = static_cast<int>(axes.size());
        return axes.empty() ? nullptr : axes.data();
    }
    const unsigned char* JoystickButtons(int* count) override {
        *count = static_cast<int>(buttons.size());
        return buttons.empty() ? nullptr : buttons.data();
    }
    void StateFileSaved() override { ++stateSaves; }
    bool DataFileReady(const char* name) override { return pendingData.count(name) == 0; }
    // The pointer is a finger on a touch screen, as a phone's browser reports it.
    bool fingerPointer = false;
    bool PointerIsFinger() override { return fingerPointer; }
    bool DataArrivesLater() override { return dataArrivesLater; }
    unsigned DataArrivals() override { return dataArrivals; }
    const char* SoundFileExtension() override { return soundExtension.c_str(); }
    void LateDataShown(int artLevel, bool waiting) override {
        artLevelShown = artLevel;
        lateDataWaiting = waiting;
    }
    void KeepScreenOn(bool on) override { screenKeptOn += on ? 1 : 0; }
};
