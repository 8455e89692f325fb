// The browser's platform: the GLFW window of emscripten's library, with the
// page's visibility as the window's state, a loop that never blocks the
// browser's thread, the state file kept in IndexedDB, and the data the first
// menu does not need fetched behind it.
#pragma once

#include "host/glfw_platform.h"
#include "host/touch_slots.h"

class gxtkApp;

class WebPlatform : public GlfwPlatform {
  public:
    explicit WebPlatform(GLFWwindow* window);

    // Mounts the state folder and starts reading it back from IndexedDB.
    void BeginStateLoad();
    // True once the stored state is in place (or known to be unavailable).
    bool StateLoaded();
    // Sizes the canvas to the page and follows the page's size from now on.
    void FollowPageSize();
    // Takes the fingers on the canvas as touches from now on.
    void WatchTouches();
    // A finger (by the page's identifier) going down, moving or lifting, at
    // the drawing buffer's pixels.
    void Touch(int phase, long finger, double x, double y);
    // Lets the first key press or tap start the sound the browser held back.
    void ResumeSoundOnGesture();
    // Follows the page's prefers-reduced-motion from now on.
    void WatchReducedMotion();
    // The page's own controls (opening a replay) show while no round is
    // played, where they would be in the way of a finger.
    void ShowPageControls(bool shown);

    // Runs passes of the host loop until one renders a frame or asks to
    // wait: the browser calls back at its next animation frame.
    void RunFrame(gxtkApp* host);

    void Sleep(double seconds) override;
    void WaitEvents() override;
    bool WindowIconified() override;
    bool WindowActive() override;
    void SwapBuffers() override;
    void MousePosition(int* x, int* y) override;
    const char* StateFilePath() override;
    void StateFileSaved() override;
    bool DataFileReady(const char* name) override;
    bool DataArrivesLater() override { return true; }
    unsigned DataArrivals() override;
    const char* SoundFileExtension() override { return "ogg"; }
    void LateDataShown(int artLevel, bool waiting) override;
    void KeepScreenOn(bool on) override;
    bool PrefersReducedMotion() override;
    // A download of the browser's.
    bool OffersDownloads() override;
    void OfferDownload(const char* name, const unsigned char* bytes, size_t size) override;
    // A pad the browser maps as "standard" reads as the desktop's standard
    // pad; any other is GLFW's, read raw.
    const float* JoystickAxes(int* count) override;
    const unsigned char* JoystickButtons(int* count) override;

    // Updates run so far: the input device reads the mouse once per update.
    unsigned long long UpdateCount() const { return updates_; }
    // What the page's visibility events say.
    void SetHidden(bool hidden) { hidden_ = hidden; }

  private:
    bool ReadStandardPad();

    TouchSlots touches_;
    bool screenKept_ = false;
    int reducedMotion_ = 0; // written by the media query's listener
    float standardAxes_[kGamepadAxisCount] = {};
    unsigned char standardButtons_[kGamepadButtonCount] = {};
    bool hidden_;
    bool presented_ = false;
    unsigned long long updates_ = 0;
};
